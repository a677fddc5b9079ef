#include "app/PaneLayouts.h"

#include "app/MainMenus.h"
#include "panes/DriveList.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>

namespace {

// Shown and placed kind by kind in this order; hidden in the other.
constexpr std::array showOrder = {PaneControl::DriveList, PaneControl::FolderList, PaneControl::FileList,
                                  PaneControl::PatternBox, PaneControl::Button};
constexpr std::array hideOrder = {PaneControl::DriveList, PaneControl::FolderList, PaneControl::FileList,
                                  PaneControl::Button, PaneControl::PatternBox};

} // namespace

PaneLayouts::PaneLayouts(PaneBoard &board) : m_board(board) {}

QWidget *PaneLayouts::control(int pane, PaneControl kind) const
{
    const Pane &p = m_board.pane(pane);
    switch (kind) {
    case PaneControl::DriveList: return p.driveList();
    case PaneControl::FolderList: return p.folderList();
    case PaneControl::FileList: return p.fileList();
    case PaneControl::PatternBox: return p.patternBox();
    case PaneControl::Button: return p.button();
    }
    return nullptr;
}

void PaneLayouts::show(int paneCount)
{
    const auto layout = std::find_if(paneLayouts().cbegin(), paneLayouts().cend(),
                                     [paneCount](const PaneLayout &l) { return l.paneCount == paneCount; });
    if (layout == paneLayouts().cend())
        return;

    // Pane 1 is never hidden, so the one-pane layout has nothing to show.
    if (paneCount > 1) {
        for (PaneControl kind : showOrder) {
            for (int n = 1; n <= paneCount; ++n) {
                if (QWidget *widget = control(n, kind); widget->isHidden())
                    widget->show();
            }
        }
    }
    for (PaneControl kind : hideOrder) {
        for (int n = paneCount + 1; n <= PaneCount; ++n)
            control(n, kind)->hide();
    }
    for (PaneControl kind : showOrder) {
        for (const ControlPlace &p : layout->places) {
            if (p.control == kind)
                place(p);
        }
    }
}

void PaneLayouts::place(const ControlPlace &p)
{
    QWidget *widget = control(p.pane, p.control);
    QRect rect = p.rect.toPixels();
    // Drive lists, buttons and pattern boxes keep the height they were designed with.
    if (p.rect.height == 0)
        rect.setHeight(widget->height());
    widget->setGeometry(rect);
}

void PaneLayouts::wire(const MainMenus &menus, QObject *context)
{
    for (const PaneLayout &layout : paneLayouts()) {
        const int count = layout.paneCount;
        menus.onTriggered(layout.menuItem, context, [this, count] { show(count); });
    }
}
