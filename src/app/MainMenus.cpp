#include "app/MainMenus.h"

#include "app/MenuTable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

MainMenus::MainMenus(QMenuBar *bar, QWidget *owner)
{
    const QList<MenuEntry> &table = mainMenuTable();
    QSet<QString> parents;
    for (const MenuEntry &entry : table)
        parents.insert(entry.parent);

    for (const MenuEntry &entry : table) {
        QAction *action = nullptr;
        if (parents.contains(entry.name)) {
            QMenu *menu = nullptr;
            if (entry.parent.isEmpty() && !entry.hidden)
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
            action = parent->addAction(entry.caption);
            if (!entry.shortcut.isEmpty()) {
                action->setShortcut(QKeySequence(entry.shortcut, QKeySequence::PortableText));
                // The menu's keys work from anywhere in the main window, the pattern boxes
                // included (they are kept from taking the keys themselves).
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

QAction *MainMenus::action(const QString &name) const
{
    return m_actions.value(name);
}

QMenu *MainMenus::menu(const QString &name) const
{
    return m_menus.value(name);
}

void MainMenus::onTriggered(const QString &name, QObject *context, std::function<void()> command) const
{
    QAction *item = action(name);
    Q_ASSERT_X(item, "MainMenus::onTriggered", qPrintable(name));
    if (item)
        QObject::connect(item, &QAction::triggered, context, std::move(command));
}

QList<QAction *> MainMenus::shortcutActions() const
{
    QList<QAction *> result;
    for (const QString &name : m_order) {
        QAction *action = m_actions.value(name);
        if (!action->shortcut().isEmpty())
            result.append(action);
    }
    return result;
}

QStringList MainMenus::dump() const
{
    QStringList lines;
    for (const QString &name : m_order) {
        const QAction *action = m_actions.value(name);
        lines << QStringLiteral("%1 | %2 | %3 | %4")
                     .arg(name, action->text(), action->shortcut().toString(QKeySequence::PortableText),
                          action->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"));
    }
    return lines;
}
