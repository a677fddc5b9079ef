#pragma once

// The search window's Copy as the copy batch serves it: the application hands the batch to the
// search window through this.
class SearchCopy
{
public:
    virtual ~SearchCopy() = default;
    // Replaces the batch with the selected search results: their full paths in List2 and their
    // bare names in List1, paired by position, in list order. The selection is read once, so
    // every name stands beside its own path.
    virtual void CopySelectedResults() = 0;
};
