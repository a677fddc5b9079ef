#pragma once

#include <QString>

struct SearchCounts;

// The texts the search window shows.
namespace SearchMessages {

QString enterPath();
QString enterPattern();
// The status line while folder is searched.
QString searching(const QString &folder);
// The message at the end of a search.
QString summary(const SearchCounts &counts);

} // namespace SearchMessages
