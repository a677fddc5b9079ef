#pragma once

#include <QList>
#include <QString>

#include <optional>

// A fixed site of a launcher's table: the prompt key that selects it and its address.
struct Site
{
    QString key;
    QString address;
};

// A fixed menu item that fills a prompt: the key it sets and its label ("" leaves the label).
struct SiteItem
{
    QString item;
    QString key;
    QString label;
};

// The fixed sites of the Internet menu, each table in the order its launcher compares keys.
namespace SiteTables {

const QList<Site> &news();
const QList<Site> &weather();
const QList<Site> &auctions();

// The items of each submenu, in menu order.
const QList<SiteItem> &newsItems();
const QList<SiteItem> &weatherItems();
const QList<SiteItem> &auctionItems();

// Internet Start's search portal, a host name alone.
QString portal();

// The address of the first site whose key equals key exactly.
std::optional<QString> find(const QList<Site> &sites, const QString &key);
// The item of that name in items; null when there is none.
const SiteItem *item(const QList<SiteItem> &items, const QString &name);

} // namespace SiteTables
