#include "web/SearchAddress.h"

#include <QUrl>

namespace SearchAddress {

QString encodeKeyword(const QString &keyword)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(keyword));
}

QString build(const QString &addressTemplate, const QString &keyword)
{
    QString address = addressTemplate;
    // The encoded keyword holds no braces, so it can never form a further place.
    address.replace(KeywordPlace, encodeKeyword(keyword));
    return address;
}

} // namespace SearchAddress
