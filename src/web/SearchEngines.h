#pragma once

#include <QList>
#include <QString>

// A fixed search engine of "Fast Engine Search": its menu item, the key its item gives the
// keyword prompt, the prompt's label (after its seven leading blanks) and its address
// template (see SearchAddress).
struct SearchEngine
{
    QString item;
    QString key;
    QString label;
    QString addressTemplate;
};

namespace SearchEngines {

// The 22 engines in the order the launcher compares their keys.
const QList<SearchEngine> &all();

// The engine of a menu item ("mnuGoogle"); null when item is none of them.
const SearchEngine *byItem(const QString &item);

} // namespace SearchEngines
