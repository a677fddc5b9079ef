#include "app/SelectAll.h"

#include "app/MainMenus.h"
#include "app/MenuTable.h"
#include "fileops/PaneSelection.h"
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
    PaneSelection::onSelectedPane(m_board, m_dialogs, QStringLiteral("Please select a file first"),
                                  [this](int n) { paneSelectAll(n); });
}

void SelectAll::paneSelectAll(int n)
{
    if (popupNeedsSelection.at(size_t(n - 1)) && !m_board.passesSelectionRule(n))
        return;
    FileList &list = *m_board.pane(n).fileList();
    // Every row in one selection range: the same as selecting row by row, which grows
    // quadratically with the number of files. Like setSelected, it raises no click.
    list.selectAll();
}

void SelectAll::wire(const MainMenus &menus, QObject *context)
{
    menus.onTriggered(QStringLiteral("mnuSelectAll0"), context, [this] { mnuSelectAll0_Click(); });
    for (int n = 1; n <= PaneCount; ++n)
        menus.onTriggered(paneItemName(PaneCommand::SelectAll, n), context, [this, n] { paneSelectAll(n); });
}
