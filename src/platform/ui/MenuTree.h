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

// One item of a window's menu tree. An item whose name appears as another item's parent is a
// submenu; an item with an empty parent is a root: shown in the menu bar, or, when hidden, a
// pop-up root that the window shows itself (on a right-button release, say).
struct MenuEntry
{
    QString parent;
    QString name;
    QString caption;
    QString shortcut; // portable key sequence text, "" for none
    bool hidden = false;
};

// A window's menus built from a table: the menu bar's menus and the hidden pop-up roots. Every
// item is a QAction and every submenu a QMenu, each named after its entry. Items with a key
// work from anywhere in the owner window.
class MenuTree
{
public:
    MenuTree(const QList<MenuEntry> &table, QMenuBar *bar, QWidget *owner);
    virtual ~MenuTree() = default;
    MenuTree(const MenuTree &) = delete;
    MenuTree &operator=(const MenuTree &) = delete;

    // The item named name (for a submenu, its menu action); null when there is none.
    QAction *action(const QString &name) const;
    // The submenu or pop-up root named name; null when there is none.
    QMenu *menu(const QString &name) const;
    // Runs command whenever the item named name is chosen (by menu or shortcut), for as long
    // as context lives. Every name given here is an item of the table.
    void onTriggered(const QString &name, QObject *context, std::function<void()> command) const;
    // The items with a shortcut key.
    QList<QAction *> shortcutActions() const;

    // One line per entry in tree order: "parent | name | caption | shortcut | visible", with
    // "-" as the parent of a root and as the caption of a separator.
    QStringList dump() const;

private:
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QStringList m_order;
};
