#include "app/OpenFiles.h"

#include "app/MainMenus.h"
#include "app/MenuTable.h"
#include "panes/PaneBoard.h"
#include "platform/ui/Services.h"

OpenFiles::OpenFiles(PaneBoard &board, Services &services, TextLoader &texts,
                     HtmlViewer &htmlViewer, PictureOpener &pictures)
    : m_board(board),
      m_views(board, services.dialogs, texts, htmlViewer),
      m_dispatch(board, services, pictures, m_views),
      m_zipView(board, services.shellOpen)
{
}

void OpenFiles::connectMenus(MainMenus &menus, QObject *context)
{
    auto on = [&menus, context](const QString &name, std::function<void()> command) {
        menus.onTriggered(name, context, std::move(command));
    };
    on(QStringLiteral("mnuExecute0"), [this] { m_dispatch.mnuExecute0_Click(); });
    on(QStringLiteral("mnuOpenTextFile"), [this] { m_views.mnuOpenTextFile_Click(); });
    on(QStringLiteral("mnuHtm_0"), [this] { m_views.mnuHtm_0_Click(); });
    for (int n = 1; n <= PaneCount; ++n) {
        on(paneItemName(PaneCommand::Run, n), [this, n] { m_dispatch.OpenByType(n); });
        on(paneItemName(PaneCommand::ViewHtml, n), [this] { m_views.mnuHtm_0_Click(); });
        on(paneItemName(PaneCommand::ZipView, n), [this, n] { m_zipView.mnuZipView_Click(n); });
    }
    QObject::connect(&m_board, &PaneBoard::fileDoubleClicked, context,
                     [this](int n) { m_dispatch.OpenByType(n); });
}
