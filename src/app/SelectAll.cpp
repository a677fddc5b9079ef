#include "app/SelectAll.h"

#include "app/MainMenus.h"
#include "app/MenuTable.h"
#include "panes/FileList.h"
#include "panes/PaneBoard.h"
#include "platform/ui/Dialogs.h"

#include <QAction>

#include <array>

namespace {

// Per pane: whether its pop-up item acts only on a pane that already has a selection (panes 4
// and 5 were built with that guard; the other three always select).
constexpr std::array<bool, PaneCount> popupNeedsSelection = {false, false, false, true, true};

} // namespace

SelectAll::SelectAll(PaneBoard &board, Dialogs &dialogs) : m_board(board), m_dialogs(dialogs) {}

void SelectAll::mnuSelectAll0_Click()
{
    const int pane = m_board.paneHasSelection();
    if (pane == 0) {
        m_dialogs.message(QStringLiteral("Please select a file first"));
        return;
    }
    paneSelectAll(pane);
}

bool SelectAll::passesSelectionRule(const FileList &list)
{
    return (list.listCount() > 0 && list.isSelected(0)) || list.listIndex() >= 1;
}

void SelectAll::paneSelectAll(int n)
{
    FileList &list = *m_board.pane(n).fileList();
    if (popupNeedsSelection.at(size_t(n - 1)) && !passesSelectionRule(list))
        return;
    // Every row in one selection range: the same as selecting row by row, which grows
    // quadratically with the number of files. Like setSelected, it raises no click.
    list.selectAll();
}

void SelectAll::wire(const MainMenus &menus, QObject *context)
{
    auto on = [&](const QString &name, auto handler) {
        QAction *action = menus.action(name);
        Q_ASSERT(action);
        QObject::connect(action, &QAction::triggered, context, handler);
    };
    on(QStringLiteral("mnuSelectAll0"), [this] { mnuSelectAll0_Click(); });
    for (int n = 1; n <= PaneCount; ++n)
        on(paneItemName(PaneCommand::SelectAll, n), [this, n] { paneSelectAll(n); });
}
