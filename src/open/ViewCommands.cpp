#include "open/ViewCommands.h"

#include "links/HtmlViewer.h"
#include "links/TextLoader.h"
#include "open/OpenMessages.h"
#include "panes/FileList.h"
#include "panes/PaneBoard.h"
#include "platform/OpenEndings.h"
#include "platform/ui/Dialogs.h"

ViewCommands::ViewCommands(const PaneBoard &board, Dialogs &dialogs, TextLoader &texts,
                           HtmlViewer &htmlViewer)
    : m_board(board), m_dialogs(dialogs), m_texts(texts), m_htmlViewer(htmlViewer)
{
}

void ViewCommands::mnuHtm_0_Click()
{
    // The gate asks whether any pane, hidden ones included, shows an HTML file; the file that
    // opens is the active pane's, whatever its ending.
    bool anyHtml = false;
    for (int n = 1; n <= PaneCount && !anyHtml; ++n)
        anyHtml = OpenEndings::endsInAny(m_board.pane(n).fileList()->fileName(), OpenEndings::htmlEndings());
    if (!anyHtml)
        return;
    const int n = m_board.activePane();
    if (n == 0)
        return;
    // The viewer takes the file from the editor: it shows once the file is in.
    m_texts.LoadTextFile(m_board.paneFilePath(n), [&viewer = m_htmlViewer](bool loaded) {
        if (loaded)
            viewer.showHtmlViewer();
    });
}

void ViewCommands::mnuOpenTextFile_Click()
{
    const int n = m_board.activePane();
    if (n == 0)
        return;
    if (m_board.pane(n).fileList()->fileName().isEmpty()) {
        m_dialogs.message(OpenMessages::selectExistingFile());
        return;
    }
    OpenAsText(n);
}

void ViewCommands::OpenAsText(int n)
{
    if (OpenEndings::endsInAny(m_board.pane(n).fileList()->fileName(), OpenEndings::textTypeEndings()))
        m_texts.LoadTextFile(m_board.paneFilePath(n));
}
