#include "platform/ui/MenuTree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

MenuTree::MenuTree(const QList<MenuEntry> &table, QMenuBar *bar, QWidget *owner)
{
    QSet<QString> parents;
    for (const MenuEntry &entry : table)
        parents.insert(entry.parent);

    for (const MenuEntry &entry : table) {
        QAction *action = nullptr;
        if (parents.contains(entry.name)) {
            QMenu *menu = nullptr;
            if (entry.parent.isEmpty() && !entry.hidden && bar)
                menu = bar->addMenu(entry.caption);
            else if (entry.parent.isEmpty())
                menu = new QMenu(entry.caption, owner);
            else
                menu = m_menus.value(entry.parent)->addMenu(entry.caption);
            menu->setObjectName(entry.name);
            action = menu->menuAction();
            m_menus.insert(entry.name, menu);
        } else {
            QMenu *parent = m_menus.value(entry.parent);
            // A caption of "-" is a separator line, and only a line: a separator with a text
            // shows that text beside it.
            action = entry.caption == QLatin1String("-") ? parent->addSeparator() : parent->addAction(entry.caption);
            if (!entry.shortcut.isEmpty()) {
                action->setShortcut(QKeySequence(entry.shortcut, QKeySequence::PortableText));
                // The menu's keys work from anywhere in the window; text fields that would
                // take a key themselves are kept from it by their window.
                action->setShortcutContext(Qt::WindowShortcut);
                owner->addAction(action);
            }
        }
        action->setObjectName(entry.name);
        action->setVisible(!entry.hidden);
        m_actions.insert(entry.name, action);
        m_order.append(entry.name);
    }
}

QAction *MenuTree::action(const QString &name) const
{
    return m_actions.value(name);
}

QMenu *MenuTree::menu(const QString &name) const
{
    return m_menus.value(name);
}

void MenuTree::onTriggered(const QString &name, QObject *context, std::function<void()> command) const
{
    QAction *item = action(name);
    Q_ASSERT_X(item, "MenuTree::onTriggered", qPrintable(name));
    if (item)
        QObject::connect(item, &QAction::triggered, context, std::move(command));
}

QList<QAction *> MenuTree::shortcutActions() const
{
    QList<QAction *> result;
    for (const QString &name : m_order) {
        QAction *action = m_actions.value(name);
        if (!action->shortcut().isEmpty())
            result.append(action);
    }
    return result;
}

QStringList MenuTree::dump() const
{
    QStringList lines;
    for (const QString &name : m_order) {
        const QAction *action = m_actions.value(name);
        // The parent as built, not as the table says, so an item added to the wrong menu shows.
        QString parent = QStringLiteral("-");
        for (const QObject *holder : action->associatedObjects()) {
            // Only the tree's own menus: a menu bar too narrow for its menus holds some of
            // them in a menu of its own.
            const auto *menu = qobject_cast<const QMenu *>(holder);
            if (menu && m_menus.value(menu->objectName()) == menu) {
                parent = menu->objectName();
                break;
            }
        }
        const QString caption = action->isSeparator() ? QStringLiteral("-") : action->text();
        lines << QStringLiteral("%1 | %2 | %3 | %4 | %5")
                     .arg(parent, name, caption, action->shortcut().toString(QKeySequence::PortableText),
                          action->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"));
    }
    return lines;
}
