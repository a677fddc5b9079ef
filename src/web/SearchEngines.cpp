#include "web/SearchEngines.h"

namespace {

struct Row
{
    const char *item;
    const char *key;
    const char *label;
    const char *host;
    const char *path; // "{keyword}" marks the keyword's places
};

// Engines that are gone are served by their successors' hosts; Inktomi, HotBot and Teoma
// share one host and differ only in prov.
const char sharedPortal[] = "www.hotbot.com";

const Row rows[] = {
    {"mnuAllTheWeb", "Search All The Web", "Search AllTheWeb For Infomation On:", "search.yahoo.com",
     "/search?{keyword}=web&cs=utf-8&q={keyword}&_sb_lang=en"},
    {"mnuAltaVista", "Search AltaVista", "Search AltaVista For Infomation On:", "search.yahoo.com",
     "/web/results?q={keyword}&submit2=Search&what=web&fmt=d"},
    {"mnuAskJeeves", "Search Ask Jeeves", "Search Ask Jeeves For Infomation On:", "www.ask.com",
     "/main/askjeeves.asp?ask={keyword}"},
    {"mnuAol", "Search AOL", "Search Aol For Infomation On:", "search.aol.com",
     "/dirsearch.adp?start=&from=topsearchbox.%2Findex.adp&query={keyword}&x=22&y=10"},
    {"mnuBigEye", "Search Big Eye", "Search BigEye For Infomation On:", "www.bing.com",
     "/Bigeye?lang=1&timeout=4&rpp=15&query={keyword}&Submit=Find+It%21&qtype=0"},
    {"mnuCnet", "Search CNET", "Search CNET For Infomation On:", "www.cnet.com",
     "/search?channel=1&q={keyword}"},
    {"mnuDmoz", "Search Dmoz", "Search Dmoz For Infomation On:", "curlie.org",
     "/cgi-bin/search?search={keyword}"},
    {"mnuEarthLink", "Search EarthLink", "Search EarthLink For Infomation On:", "search.earthlink.net",
     "/search?site=earthlink-ss&q={keyword}"},
    {"mnuGoogle", "Search Google", "Search Google For Infomation On:", "www.google.com",
     // The cof value: the result page's colours, the site it names and our account there.
     "/custom?q={keyword}&sa=Search&cof=GIMP%3A003399%3BT%3A000000%3BALC%3AFF0000%3BGFNT%3A808080"
     "%3BLC%3A003399%3BBGC%3AFFFFFF%3BAH%3Aleft%3BVLC%3A800080%3BGL%3A0%3BS%3Ahttp%3A%2F%2Fwww.google.com"
     "%3BAWFID%3A7c41e09ab3d25f68%3B"},
    {"mnuIsleuth", "Search Internet Sleuth", "Search Internet Sleuth For Infomation On:", "www.bing.com",
     "/wbresults.htm?q={keyword}&i=0&c=10"},
    {"mnuInktomi", "Search Inktomi", "Search InkTomi For Infomation On:", sharedPortal,
     "/default.asp?prov=Inktomi&query={keyword}&ps=&loc=searchbox&tab=web"},
    {"mnuAbout", "Search About", "Search About For Infomation On:", "www.about.com",
     "/fullsearch.htm?terms={keyword}"},
    {"mnuHotBot", "Search HotBot", "Search HotBot For Infomation On:", sharedPortal,
     "/default.asp?prov=FAST&query={keyword}&ps=&loc=searchbox&tab=web"},
    {"mnuLycos", "Search Lycos", "Search Lycos For Infomation On:", "search.lycos.com",
     "/default.asp?lpv=1&loc=searchhp&tab=web&query={keyword}"},
    {"mnuLookSmart", "Search LookSmart", "Search LookSmart For Infomation On:", "www.looksmart.com",
     "/r_search?key={keyword}"},
    {"mnuMamma", "Search Mamma", "Search Mamma For Infomation On:", "www.mamma.com",
     "/Mamma?query={keyword}&qtype=0&image222.x=26&image222.y=13"},
    {"mnuMSN", "Search MSN", "Search MSN For Infomation On:", "www.bing.com",
     "/results.asp?RS=CHECKED&FORM=MSNH&v=1&q={keyword}"},
    {"mnuMetaCrawler", "Search MetaCrawler", "Search MetaCrawler For Infomation On:", "www.metacrawler.com",
     "/texis/search?brand=metacrawler&q={keyword}&redirect=&top=1&method=0&rpp=20&hpe=10&region=0"
     "&timeout=0&sort=0&theme=classic"},
    {"mnuIxquick", "Search Ixquick", "Search Ixquick For Infomation On:", "www.startpage.com",
     "/do/metasearch.pl?{keyword}=web{keyword}=web&cmd=process_search&language=english&query={keyword}"
     "&orl=&search.x=25&search.y=11"},
    {"mnuTeoma", "Search Teoma", "Search Teoma For Infomation On:", sharedPortal,
     "/default.asp?prov=Teoma&query={keyword}&ps=&loc=searchbox&tab=web"},
    {"mnuWiseNut", "Search WiseNut", "Search WiseNut For Infomation On:", "www.looksmart.com",
     "/search/query.dll?q={keyword}"},
    {"mnuYahoo", "Search Yahoo", "Search Yahoo For Infomation On:", "search.yahoo.com",
     "/bin/search?p={keyword}"},
};

QList<SearchEngine> buildEngines()
{
    QList<SearchEngine> engines;
    for (const Row &row : rows) {
        engines.append({QLatin1String(row.item), QLatin1String(row.key), QLatin1String(row.label),
                        QStringLiteral("http://") + QLatin1String(row.host) + QLatin1String(row.path)});
    }
    return engines;
}

} // namespace

namespace SearchEngines {

const QList<SearchEngine> &all()
{
    static const QList<SearchEngine> engines = buildEngines();
    return engines;
}

const SearchEngine *byItem(const QString &item)
{
    for (const SearchEngine &engine : all()) {
        if (engine.item == item)
            return &engine;
    }
    return nullptr;
}

} // namespace SearchEngines
