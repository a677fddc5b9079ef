#include "app/MenuTable.h"

#include <array>

namespace {

struct Row
{
    const char *parent;
    const char *name;
    const char *caption;
    const char *shortcut = "";
    bool hidden = false;
};

// The menu bar, with the Internet menu's fixed links. The user link slots are added in
// addSlots() below.
const Row barRows[] = {
    {"", "mnuFile", "&File"},
    {"mnuFile", "mnuCopy", "Copy", "Ctrl+C"},
    {"mnuFile", "mnuSendFileTo", "Copy File To..", "Ctrl+F"},
    {"mnuFile", "mnuDelete0", "Delete", "Ctrl+D"},
    {"mnuFile", "mnuPaste0", "Paste", "Ctrl+P"},
    {"mnuFile", "mnuExecute0", "Run ", "Ctrl+R"},
    {"mnuFile", "mnuSelectAll0", "Select All", "Ctrl+A"},
    {"mnuFile", "mnuSearchFor", "Search ", "Ctrl+S"},
    {"mnuFile", "mnuExit", "Exit"},

    {"", "Mnuview1", "View"},
    {"Mnuview1", "mnuBmp", "View Graphic (.BMP, .CUR, .GIF, .ICO, .JPG, .WMF)", "Ctrl+G"},
    {"Mnuview1", "mnuOpenTextFile", "View Text (.BAT,.LOG,.TXT)", "Ctrl+T"},
    {"Mnuview1", "mnuHtm_0", "View Html (.HTM,.HTML)", "Ctrl+H"},

    {"", "mnuDesktop0", " Desktop"},
    {"mnuDesktop0", "mnuColors0", "Change Colors"},
    {"mnuColors0", "mnuBackGround", "Desktop Background"},
    {"mnuColors0", "mnu_Folders", "Folders Background"},
    {"mnuColors0", "mnu_Files", "Files Background"},
    {"mnuDesktop0", "mnuDriveView", "Drive View"},
    {"mnuDriveView", "mnuDeskTop1", "One Drive View"},
    {"mnuDriveView", "DeskTop2", "Two Drive View"},
    {"mnuDriveView", "DeskTop3", "Three Drive View"},
    {"mnuDriveView", "DeskTop4", "Four Drive View"},
    {"mnuDriveView", "DeskTop5", "Five Drive View"},
    {"mnuDesktop0", "mnuRefresh", "Refresh All"},

    {"", "mnuInternet", "&Internet"},
    {"mnuInternet", "mnuIStart", "Internet Start"},
    {"mnuInternet", "mnuSiteSearch", "Find WebSite "},
    {"mnuInternet", "mnuAuction", "Auctions"},
    {"mnuAuction", "mnuAuctionGuide", "Auction Guide"},
    {"mnuAuction", "mnuBentMonkey", "Bent Monkey"},
    {"mnuAuction", "mnuBid4Assets", "Bid 4 Assets"},
    {"mnuAuction", "mnuBuySellTrades", "Buy Sell Trades"},
    {"mnuAuction", "mnuEbay", "Ebay"},
    {"mnuAuction", "mnuSothebys", "Sotheby's"},
    {"mnuAuction", "mnuSportsCollective", "Sports Collective"},
    {"mnuAuction", "@mnuAuc", ""},
    {"mnuAuction", "mnuAddALink", "Add Auction Link"},
    {"mnuAuction", "mnuRemoveALink", "Remove Auction Link"},
    {"mnuInternet", "mnuStation0", "News Stations"},
    {"mnuStation0", "mnuABCNews", "ABC News"},
    {"mnuStation0", "mnuCNNNews", "CNN"},
    {"mnuStation0", "mnuCBSNews", "CBS News"},
    {"mnuStation0", "mnuFoxNews", "Fox News"},
    {"mnuStation0", "mnuUSAToday", "USA Today"},
    {"mnuInternet", "mnuSearchEngines", "Fast Engine Search"},
    {"mnuSearchEngines", "mnuAbout", "About"},
    {"mnuSearchEngines", "mnuAllTheWeb", "All The Web"},
    {"mnuSearchEngines", "mnuAol", "AOL"},
    {"mnuSearchEngines", "mnuAltaVista", "AltaVista"},
    {"mnuSearchEngines", "mnuAskJeeves", "AskJeeves"},
    {"mnuSearchEngines", "mnuBigEye", "Big Eye"},
    {"mnuSearchEngines", "mnuCnet", "CNET"},
    {"mnuSearchEngines", "mnuDmoz", "Dmoz"},
    {"mnuSearchEngines", "mnuEarthLink", "EarthLink"},
    {"mnuSearchEngines", "mnuGoogle", "Google"},
    {"mnuSearchEngines", "mnuHotBot", "HotBot"},
    {"mnuSearchEngines", "mnuInktomi", "Inktomi"},
    {"mnuSearchEngines", "mnuIsleuth", "Internet Sleuth"},
    {"mnuSearchEngines", "mnuIxquick", "Ixquick"},
    {"mnuSearchEngines", "mnuLookSmart", "LookSmart"},
    {"mnuSearchEngines", "mnuLycos", "Lycos"},
    {"mnuSearchEngines", "mnuMamma", "Mamma"},
    {"mnuSearchEngines", "mnuMetaCrawler", "MetaCrawler"},
    {"mnuSearchEngines", "mnuMSN", "MSN"},
    {"mnuSearchEngines", "mnuTeoma", "Teoma"},
    {"mnuSearchEngines", "mnuWiseNut", "WiseNut"},
    {"mnuSearchEngines", "mnuYahoo", "Yahoo"},
    {"mnuSearchEngines", "@mnuYes", ""},
    {"mnuSearchEngines", "mnuAddSLink", "Add  Engine Link"},
    {"mnuSearchEngines", "mnuRemoveSLink", "Remove Engine Link"},
    {"mnuInternet", "mnuFavorites", "Favorites"},
    {"mnuFavorites", "@mnuFav", ""},
    {"mnuFavorites", "mnuFav0", "Add Favorite Link"},
    {"mnuFavorites", "mnuRemoveFav", "Remove Favorite"},
    {"mnuInternet", "mnuWeather0", "Weather"},
    {"mnuWeather0", "mnuNOAA", "NOAA"},
    {"mnuWeather0", "mnuWeatherChannel", "Weather Channel"},
    {"mnuWeather0", "mnuYaho", "Yahoo"},

    {"", "mnuHelp", "Help"},
    {"mnuHelp", "mnuHelp1", "Help"},
};

// The user link slots: hidden items whose design captions are the slot names without "mnu".
struct SlotFamily
{
    const char *stem;
    const char *designStem;
    int count;
};
const SlotFamily slotFamilies[] = {{"mnuAuc", "Auc", 10}, {"mnuYes", "Yes", 10}, {"mnuFav", "Fav", 20}};

// The pop-up menus, one of each kind per pane; per item the five names and five captions.
struct PaneRow
{
    std::array<const char *, 5> names;
    std::array<const char *, 5> captions;
};

const PaneRow fileRoots = {{"mnuPopup1", "mnuPopUp2", "mnuPopup3", "mnuPopUp4", "mnuPopup5"},
                           {"&Popup", "&Popup2", "&Popup3", "&Popup4", "&Popup5"}};
const PaneRow fileItems[] = {
    {{"mnuCopy1", "mnuCopy2", "mnuCopy3", "mnuCopy4", "mnuCopy5"},
     {"Copy", "Copy", "Copy ", "Copy", "Copy"}},
    {{"mnuCopee1", "mnuCopee2", "mnuCopee3", "mnuCopee4", "mnuCopee5"},
     {"Copy FileTo..", "Copy File To..", "Copy File To", "Copy File To..", "Copy File To.."}},
    {{"mnuDelete1", "mnuDelete2", "mnuDelete3", "mnuDelete4", "mnuDelete5"},
     {"Delete", "Delete", "Delete", "Delete", "Delete"}},
    {{"mnuPasteFile", "mnuPasteFile2", "mnuPasteFile3", "mnuPasteFile4", "mnuPasteFile5"},
     {"Paste ", "Paste ", "Paste ", "Paste ", "Paste"}},
    {{"mnuRefresh1", "mnuRefresh2", "mnuRefresh3", "mnuRefresh4", "mnuRefresh5"},
     {"Refresh", "Refresh", "Refresh", "Refresh", "Refresh"}},
    {{"mnuReeName1", "mnuReeName2", "mnuReeName3", "mnuReeName4", "mnuReeName5"},
     {"Rename", "Rename", "Rename", "Rename", "Rename"}},
    {{"mnuRun", "mnuRun2", "mnuRun3", "mnuRun4", "mnuRun5"},
     {"Run", "Run", "Run", "Run", "Run"}},
    {{"mnuSelectAll1", "mnuSelectAll2", "mnuSelectAll3", "mnuSelectAll4", "mnuSelectAll5"},
     {"Select All Files", "Select All Files", "Select All Files", "Select All Files", "Select All Files"}},
    {{"mnuGraphic1", "mnuGraphic2", "mnuGraphic3", "mnuGraphic4", "mnuGraphic5"},
     {"View Graphic (.BMP, .CUR, .GIF, .ICO, .JPG, .WMF)", "View Graphic (.BMP, .CUR, .GIF, .ICO, .JPG, .WMF)",
      "View Graphic (.BMP, .CUR, .GIF, .ICO, .JPG, .WMF)", "View Graphic (.BMP, .CUR, .GIF, .ICO, .JPG, .WMF)",
      "View Graphic (.BMP, .CUR, .GIF, .ICO, .JPG, .WMF)"}},
    {{"MnuViewHtml1", "MnuViewHtml2", "MnuViewHtml3", "mnuViewHtml4", "mnuViewHtml5"},
     {"View Html", "View Html", "View Html", "View Html", "View Html"}},
    {{"mnuZipView1", "mnuZipView2", "mnuZipView3", "mnuZipView4", "mnuZipView5"},
     {"ZipView", "ZipView", "ZipView", "ZipView", "ZipView"}},
};

const PaneRow folderRoots = {{"mnuDirPop1", "mnuDirPop2", "mnuDirPop3", "mnuDirPop4", "mnuDirPop5"},
                             {"DirBox Popup1", "DirBox Popup2", "DirBox Popup3", "DirBox Popup4", "DirBox Popup5"}};
const PaneRow folderItems[] = {
    {{"mnuAddnew1", "mnuAddnew2", "mnuAddnew3", "mnuAddnew4", "mnuAddnew5"},
     {"Add New Folder", "Add New Folder", "Add New Folder", "Add New Folder", "Add New Folder"}},
    {{"mnuRename1", "mnuRename2", "mnuRename3", "mnuRename4", "mnuRename5"},
     {"Rename", "Rename ", "Rename ", "Rename ", "Rename "}},
    {{"mnuRemove1", "mnuRemove2", "mnuRemove3", "mnuRemove4", "mnuRemove5"},
     {"Remove ", "Remove ", "Remove ", "Remove", "Remove"}},
};

void addSlots(QList<MenuEntry> &table, const QString &parent, const QString &marker)
{
    for (const SlotFamily &family : slotFamilies) {
        if (marker != QLatin1Char('@') + QLatin1String(family.stem))
            continue;
        for (int slot = 1; slot <= family.count; ++slot) {
            table.append({parent, QLatin1String(family.stem) + QString::number(slot),
                          QLatin1String(family.designStem) + QString::number(slot), QString(), true});
        }
    }
}

void addPanePopups(QList<MenuEntry> &table, const PaneRow &roots, const PaneRow *items, size_t itemCount, int pane)
{
    const QString root = QLatin1String(roots.names[pane]);
    table.append({QString(), root, QLatin1String(roots.captions[pane]), QString(), true});
    for (size_t i = 0; i < itemCount; ++i)
        table.append({root, QLatin1String(items[i].names[pane]), QLatin1String(items[i].captions[pane]), QString(), false});
}

QList<MenuEntry> buildTable()
{
    QList<MenuEntry> table;
    for (const Row &row : barRows) {
        const QString name = QLatin1String(row.name);
        if (name.startsWith(QLatin1Char('@'))) {
            addSlots(table, QLatin1String(row.parent), name);
            continue;
        }
        table.append({QLatin1String(row.parent), name, QString::fromUtf8(row.caption),
                      QLatin1String(row.shortcut), row.hidden});
    }
    for (int pane = 0; pane < 5; ++pane)
        addPanePopups(table, fileRoots, fileItems, std::size(fileItems), pane);
    for (int pane = 0; pane < 5; ++pane)
        addPanePopups(table, folderRoots, folderItems, std::size(folderItems), pane);
    return table;
}

} // namespace

QString paneItemName(PaneCommand command, int pane)
{
    const int index = int(command);
    const int fileCount = int(std::size(fileItems));
    const PaneRow &row = index < fileCount ? fileItems[index] : folderItems[index - fileCount];
    return QLatin1String(row.names[pane - 1]);
}

const QList<MenuEntry> &mainMenuTable()
{
    static const QList<MenuEntry> table = buildTable();
    return table;
}
