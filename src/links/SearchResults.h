#pragma once

#include <QString>

// The search window's result list, as the copy batch reaches it: each entry is the full path
// of one found file, in the order found. The deep search implements it; app/ hands it to the
// file operations' search-result batch.
class SearchResults
{
public:
    virtual ~SearchResults() = default;
    virtual int count() const = 0;
    virtual bool isSelected(int index) const = 0;
    virtual QString entry(int index) const = 0;
    // Empties the result list (loading the search window, hidden, when it is not loaded).
    virtual void clear() = 0;
};
