#include "fileops/SearchResultBatch.h"

#include "fileops/BatchMessages.h"
#include "fileops/CopyBatch.h"
#include "links/SearchResults.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/EventWaits.h"
#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathHelper.h"
#include "platform/ProgramEnd.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

SearchResultBatch::SearchResultBatch(PaneBoard &board, Services &services, CopyBatch &batch,
                                     SearchResults &results, int yieldSliceMs)
    : m_board(board), m_services(services), m_batch(batch), m_results(results),
      m_yieldSliceMs(yieldSliceMs)
{
}

void SearchResultBatch::ListCopy()
{
    const int count = m_results.count();
    for (int i = 0; i < count; ++i) {
        if (m_results.isSelected(i))
            m_batch.appendPath(m_results.entry(i));
    }
}

void SearchResultBatch::CopySelectedResults()
{
    m_batch.clearList1();
    m_batch.clearList2();
    ListCopy();
    // The names come from the paths ListCopy took, not from a second look at the selection.
    for (const QString &path : m_batch.list2())
        m_batch.appendName(PathHelper::baseName(path));
}

void SearchResultBatch::PasteCopiedBatch(int n)
{
    // The pairs and the destination are taken once: commands run during the yields below can
    // change the batch or the pane's folder, but not what this paste copies, nor where.
    const QStringList paths = m_batch.list2();
    const QStringList names = m_batch.list1();
    const QString destination = m_board.pane(n).folderList()->path();

    TimeSliceYield yield(m_yieldSliceMs);
    int error = FileErrors::None;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        // A pair without a name (the batch was changed while the search window filled it)
        // cannot be copied.
        error = i < names.size()
            ? m_services.files.copyFile(paths.at(i), PathHelper::join(destination, names.at(i)))
            : int(FileErrors::FileNotFound);
        if (error != FileErrors::None)
            break;
        yield.maybeYield();
        if (m_services.programEnd.isEnding())
            return;
    }

    if (error == FileErrors::None) {
        m_results.clear();
    } else if (const auto text = BatchMessages::pasteFailure(error)) {
        m_services.dialogs.message(*text);
    }
    // Also after a failure: the files copied before it are there to be seen.
    m_board.pane(n).fileList()->refresh();
}
