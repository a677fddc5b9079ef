#pragma once

#include "links/SearchResults.h"
#include "platform/ui/SharedWindow.h"
#include "search/Dig.h"

struct Services;

// The deep search as the rest of the program reaches it: the one shared search window, the
// main window's File > "Search " that shows it, and its result list as the copy batch reads
// and empties it.
class DeepSearch : public SearchResults
{
public:
    explicit DeepSearch(Services &services, const DigTiming &timing = DigTiming(),
                        ResultLinks links = ResultLinks(), SearchFolderRead read = SearchFolderRead());

    // File > "Search ": loads the window when it is not loaded, enables it and shows it
    // without an owner and without waiting.
    void mnuSearchFor_Click();
    SharedWindow<Dig> &window() { return m_dig; }

    // The result list; an empty one while the window is not loaded.
    int count() const override;
    bool isSelected(int index) const override;
    QString entry(int index) const override;
    // Empties the result list (not the mirror list), loading the window hidden when it is not
    // loaded.
    void clear() override;

private:
    Services &m_services;
    DigTiming m_timing;
    ResultLinks m_links;
    SearchFolderRead m_read;
    SharedWindow<Dig> m_dig;
};
