#include "open/OpenDispatch.h"

#include "links/PictureOpener.h"
#include "open/OpenMessages.h"
#include "open/ViewCommands.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "platform/Launchers.h"
#include "platform/OpenEndings.h"
#include "platform/PathHelper.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Services.h"

OpenDispatch::OpenDispatch(const PaneBoard &board, Services &services, PictureOpener &pictures,
                           ViewCommands &views)
    : m_board(board), m_services(services), m_pictures(pictures), m_views(views)
{
}

void OpenDispatch::OpenByType(int n)
{
    const Pane &pane = m_board.pane(n);
    const FileList &list = *pane.fileList();
    int selected = 0;
    QString name;
    for (int row = 0; row < list.listCount(); ++row) {
        if (list.isSelected(row)) {
            ++selected;
            name = list.item(row);
        }
    }
    if (selected == 0)
        return;
    if (selected > 1) {
        m_services.dialogs.message(OpenMessages::oneFileAtATime());
        return;
    }

    // The file opened is the one selected, which after a Ctrl+click need not be the list's
    // current item.
    const std::optional<OpenGroup> group = OpenEndings::dispatchGroup(name, pane.spec().ownMediaEndings);
    if (!group) {
        m_services.dialogs.message(OpenMessages::notExecutable());
        return;
    }
    const QString folder = pane.folderList()->path();
    const QString path = PathHelper::join(folder, name);
    // A start that fails is not reported: the desktop reports what it can itself.
    switch (*group) {
    case OpenGroup::Run:
        m_services.programs.startProgram(path, WindowStyle::Normal, folder);
        break;
    case OpenGroup::Media:
        m_services.shellOpen.open(path);
        break;
    case OpenGroup::Picture:
        m_pictures.mnuBmp_Click();
        break;
    case OpenGroup::Html:
        m_views.mnuHtm_0_Click();
        break;
    }
}

void OpenDispatch::mnuExecute0_Click()
{
    const int n = m_board.paneHasSelection();
    if (n == 0)
        m_services.dialogs.message(OpenMessages::selectExecutable());
    else
        OpenByType(n);
}
