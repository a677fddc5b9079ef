#pragma once

#include "links/SearchResults.h"

#include <QSet>
#include <QStringList>

// The search window's result list, as a list of paths with a set of selected rows.
class RecordingSearchResults : public SearchResults
{
public:
    int count() const override { return int(entries.size()); }
    bool isSelected(int index) const override { return selected.contains(index); }
    QString entry(int index) const override { return entries.value(index); }
    void clear() override
    {
        entries.clear();
        selected.clear();
        ++clears;
    }

    QStringList entries;
    QSet<int> selected;
    int clears = 0;
};
