#pragma once

#include <QString>

// Search addresses made from a template and the keyword the user typed.
namespace SearchAddress {

// Where a template takes the keyword; it may appear more than once.
inline const QString KeywordPlace = QStringLiteral("{keyword}");

// The keyword as it goes into an address: UTF-8, every byte but letters, digits and "-._~"
// percent-encoded (a blank as %20), nothing trimmed. So "&" cannot add a query parameter and
// "#" cannot cut the address.
QString encodeKeyword(const QString &keyword);

// The template with the encoded keyword at each of its places.
QString build(const QString &addressTemplate, const QString &keyword);

} // namespace SearchAddress
