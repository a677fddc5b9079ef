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
// Print with nothing listed, and with no printer to print on.
QString nothingListed();
QString noPrinter();

} // namespace SearchMessages
