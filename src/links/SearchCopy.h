#pragma once

// The search window's Copy as the copy batch serves it. The file operations' search-result
// batch implements it; app/ hands it to the search window.
class SearchCopy
{
public:
    virtual ~SearchCopy() = default;
    // Replaces the batch with the selected search results: their full paths in List2 and their
    // bare names in List1, paired by position, in list order. The selection is read once, so
    // every name stands beside its own path.
    virtual void CopySelectedResults() = 0;
};
