#include "platform/ui/MenuShortcutFilter.h"

#include "platform/ui/MenuTree.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

MenuShortcutFilter::MenuShortcutFilter(const MenuTree &menus, QList<QKeySequence> boxKeeps, QObject *parent)
    : QObject(parent), m_menus(menus), m_boxKeeps(std::move(boxKeeps))
{
}

void MenuShortcutFilter::watch(QWidget *widget)
{
    widget->installEventFilter(this);
}

bool MenuShortcutFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    if (m_boxKeeps.contains(pressed))
        return false;
    const QList<QAction *> items = m_menus.shortcutActions();
    for (const QAction *action : items) {
        if (action->shortcut() == pressed && action->isEnabled()) {
            // Not accepted: the menu's shortcut runs instead of the widget's own key.
            event->ignore();
            return true;
        }
    }
    return false;
}
