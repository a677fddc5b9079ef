#include "fileops/PasteCommands.h"

#include "fileops/BatchMessages.h"
#include "fileops/CopyBatch.h"
#include "fileops/SearchResultBatch.h"
#include "fileops/SharedStandby.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/EventWaits.h"
#include "platform/FileErrors.h"
#include "platform/FileServices.h"
#include "platform/PathCodec.h"
#include "platform/PathHelper.h"
#include "platform/ProgramEnd.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

#include <QLineEdit>

PasteCommands::PasteCommands(PaneBoard &board, Services &services, CopyBatch &batch,
                             SharedStandby &standby, SearchResultBatch &searchBatch, int yieldSliceMs)
    : m_board(board), m_services(services), m_batch(batch), m_standby(standby),
      m_searchBatch(searchBatch), m_yieldSliceMs(yieldSliceMs)
{
}

void PasteCommands::mnuPaste0_Click()
{
    if (const int n = m_board.activePane())
        panePaste(n);
    else
        m_services.dialogs.message(BatchMessages::chooseDestination());
}

void PasteCommands::panePaste(int n)
{
    if (m_batch.isSearchBatch()) {
        m_searchBatch.PasteCopiedBatch(n);
        return;
    }

    // Names, source and destination are taken once: a command run during the waits below (a
    // folder change, a new Copy) changes neither what the rest of this paste copies nor where.
    // The source is the batch's own record, never the clipboard, which anything may replace.
    const QString source = m_batch.sourceFolder();
    // Names without a folder (the search window's Copy found its selection gone) have nothing
    // to be copied from.
    const QStringList names = source.isEmpty() ? QStringList() : m_batch.list1();
    const QString destination = m_board.pane(n).folderList()->path();
    const ProgramEnd &programEnd = m_services.programEnd;

    TimeSliceYield yield(m_yieldSliceMs);
    int error = FileErrors::None;
    for (const QString &name : names) {
        const QString target = PathHelper::join(destination, name);
        m_standby.show();
        m_standby.Command3();
        if (programEnd.isEnding())
            return;
        m_standby.setLabel1(QStringLiteral("  Copying to ") + PathCodec::displayText(target));
        yield.maybeYield();
        if (programEnd.isEnding())
            return;
        error = m_services.files.copyFile(PathHelper::join(source, name), target);
        if (error != FileErrors::None)
            break;
        yield.maybeYield();
        if (programEnd.isEnding())
            return;
    }

    if (error != FileErrors::None) {
        if (const auto text = BatchMessages::pasteFailure(error))
            m_services.dialogs.message(*text);
        m_board.pane(n).fileList()->refresh();
    } else {
        m_board.pane(n).fileList()->refresh();
        yield.maybeYield();
        if (programEnd.isEnding())
            return;
    }
    m_standby.Command2();
}
