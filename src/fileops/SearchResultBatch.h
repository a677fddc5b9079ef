#pragma once

#include "links/SearchCopy.h"

#include <QStringList>

class CopyBatch;
class PaneBoard;
class SearchResults;
struct Services;

// The copy batch's road to and from the search window: ListCopy takes the selected results'
// full paths into List2; PasteCopiedBatch copies each List2 path under the List1 name at the
// same position into a pane's folder.
class SearchResultBatch : public SearchCopy
{
public:
    SearchResultBatch(PaneBoard &board, Services &services, CopyBatch &batch, SearchResults &results,
                      int yieldSliceMs = 10);

    // Appends the full path of every selected result, in list order, to List2.
    void ListCopy();
    void CopySelectedResults() override;
    // Pastes the batch into pane n's folder, stopping at the first pair that fails (with its
    // message); the search results are emptied when every pair was copied.
    void PasteCopiedBatch(int n);

private:
    PaneBoard &m_board;
    Services &m_services;
    CopyBatch &m_batch;
    SearchResults &m_results;
    int m_yieldSliceMs;
};
