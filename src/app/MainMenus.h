#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QWidget;

// The main window's menu tree built from mainMenuTable(): the menu bar's menus and the hidden
// pop-up roots. Every item is a QAction and every submenu a QMenu, each named after its entry.
class MainMenus
{
public:
    MainMenus(QMenuBar *bar, QWidget *owner);

    // The item named name (for a submenu, its menu action); null when there is none.
    QAction *action(const QString &name) const;
    // The submenu or pop-up root named name; null when there is none.
    QMenu *menu(const QString &name) const;
    // Runs command whenever the item named name is chosen (by menu or shortcut), for as long
    // as context lives. Every name given here is an item of the table.
    void onTriggered(const QString &name, QObject *context, std::function<void()> command) const;
    // The items with a shortcut key.
    QList<QAction *> shortcutActions() const;

    // One line per entry in tree order: "name | caption | shortcut | visible".
    QStringList dump() const;

private:
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QStringList m_order;
};
