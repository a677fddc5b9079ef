#include "web/SiteTables.h"

namespace SiteTables {

const QList<Site> &news()
{
    static const QList<Site> sites{
        {QStringLiteral("ABC News"), QStringLiteral("http://abcnews.go.com")},
        {QStringLiteral("CBS News"), QStringLiteral("http://www.cbsnews.com")},
        {QStringLiteral("CNN"), QStringLiteral("http://www.cnn.com")},
        {QStringLiteral("Fox News"), QStringLiteral("http://www.foxnews.com")},
        {QStringLiteral("USA Today"), QStringLiteral("http://www.usatoday.com")},
    };
    return sites;
}

const QList<Site> &weather()
{
    static const QList<Site> sites{
        {QStringLiteral("National Oceanic and Atmosperic Administration"), QStringLiteral("http://www.weather.gov/")},
        {QStringLiteral("The Weather Channel"), QStringLiteral("http://www.weather.com")},
        {QStringLiteral("Yahoo Weather"), QStringLiteral("http://weather.yahoo.com/")},
    };
    return sites;
}

const QList<Site> &auctions()
{
    static const QList<Site> sites{
        {QStringLiteral("Bid 4 Assets"), QStringLiteral("http://www.bid4assets.com/")},
        {QStringLiteral("Buy Sell Trades"), QStringLiteral("http://www.buyselltrades.com/")},
        {QStringLiteral("Bent Monkey"), QStringLiteral("http://www.bentmonkey.com/")},
        {QStringLiteral("Ebay"), QStringLiteral("http://www.ebay.com")},
        {QStringLiteral("Sotheby's"), QStringLiteral("http://www.sothebys.com/")},
        {QStringLiteral("Auction Guide"), QStringLiteral("http://www.auctionguide.com/")},
        {QStringLiteral("Sports Collective"), QStringLiteral("http://www.sportscollective.com/")},
    };
    return sites;
}

const QList<SiteItem> &newsItems()
{
    static const QList<SiteItem> items{
        {QStringLiteral("mnuABCNews"), QStringLiteral("ABC News"), QStringLiteral("        Visit ABC News?")},
        {QStringLiteral("mnuCNNNews"), QStringLiteral("CNN"), QStringLiteral("           Visit CNN?")},
        {QStringLiteral("mnuCBSNews"), QStringLiteral("CBS News"), QStringLiteral("        Visit CBS News?")},
        {QStringLiteral("mnuFoxNews"), QStringLiteral("Fox News"), QStringLiteral("        Visit Fox News?")},
        {QStringLiteral("mnuUSAToday"), QStringLiteral("USA Today"), QStringLiteral("        Visit USA Today?")},
    };
    return items;
}

const QList<SiteItem> &weatherItems()
{
    static const QList<SiteItem> items{
        {QStringLiteral("mnuNOAA"), QStringLiteral("National Oceanic and Atmosperic Administration"),
         QStringLiteral("                   Visit NOAA?")},
        {QStringLiteral("mnuWeatherChannel"), QStringLiteral("The Weather Channel"),
         QStringLiteral("       Visit The Weather Channel?")},
        {QStringLiteral("mnuYaho"), QStringLiteral("Yahoo Weather"), QStringLiteral("       Visit Yahoo weather?")},
    };
    return items;
}

const QList<SiteItem> &auctionItems()
{
    static const QList<SiteItem> items{
        {QStringLiteral("mnuAuctionGuide"), QStringLiteral("Auction Guide"), QString()},
        {QStringLiteral("mnuBentMonkey"), QStringLiteral("Bent Monkey"), QString()},
        {QStringLiteral("mnuBid4Assets"), QStringLiteral("Bid 4 Assets"), QString()},
        {QStringLiteral("mnuBuySellTrades"), QStringLiteral("Buy Sell Trades"), QString()},
        {QStringLiteral("mnuEbay"), QStringLiteral("Ebay"), QString()},
        {QStringLiteral("mnuSothebys"), QStringLiteral("Sotheby's"), QString()},
        {QStringLiteral("mnuSportsCollective"), QStringLiteral("Sports Collective"), QString()},
    };
    return items;
}

QString portal()
{
    return QStringLiteral("www.google.com");
}

std::optional<QString> find(const QList<Site> &sites, const QString &key)
{
    for (const Site &site : sites) {
        if (site.key == key)
            return site.address;
    }
    return std::nullopt;
}

const SiteItem *item(const QList<SiteItem> &items, const QString &name)
{
    for (const SiteItem &entry : items) {
        if (entry.item == name)
            return &entry;
    }
    return nullptr;
}

} // namespace SiteTables
