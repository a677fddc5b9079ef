#pragma once

// What the tests of the Internet menu share: test services, a real settings file in their
// temporary home and a menu holding the three families' user link slots, hidden.

#include "settings/RegistryStore.h"
#include "support/TestServices.h"
#include "web/UserLinkSlots.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QMenu>
#include <QWidget>

// Counts the times a window of one name was shown, for as long as it lives.
class ShowCounter : public QObject
{
public:
    explicit ShowCounter(QString name) : m_name(std::move(name)) { qApp->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == m_name)
            ++shows;
        return false;
    }

private:
    QString m_name;
};

// The three families' slot items, hidden, in menu, by name.
inline QHash<QString, QAction *> addSlotItems(QMenu &menu)
{
    QHash<QString, QAction *> items;
    for (const UserLinkFamily *family :
         {&UserLinkSlots::searchEngines(), &UserLinkSlots::auctions(), &UserLinkSlots::favourites()}) {
        for (int slot = 1; slot <= family->count; ++slot) {
            const QString name = family->slotName(slot);
            QAction *action = menu.addAction(name.mid(3));
            action->setObjectName(name);
            action->setVisible(false);
            items.insert(name, action);
        }
    }
    return items;
}

struct WebFixture
{
    TestServices test;
    RegistryStore store{test.configHome() + QStringLiteral("/Panoptra/Panoptra.ini")};
    QWidget owner;
    QMenu slotMenu;
    QHash<QString, QAction *> slotItems;

    WebFixture() : slotItems(addSlotItems(slotMenu)) {}

    UserLinkSlots::SlotLookup lookup()
    {
        return [this](const QString &name) { return slotItems.value(name); };
    }
    QAction *item(const QString &name) const { return slotItems.value(name); }

    // Stores a link for slot as the add command does, and shows its item.
    void addLink(const UserLinkFamily &family, int slot, const QString &name, const QString &address)
    {
        store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::MenuKey, family.slotName(slot), name);
        store.SaveRegString(HKEY_CURRENT_USER, UserLinkSlots::WebLinksKey, family.slotName(slot), address);
        UserLinkSlots::showSlot(item(family.slotName(slot)), name);
    }

    QStringList browserAddresses() const { return test.browser.addresses; }

    // Lets windows that unloaded themselves be deleted.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Whether a top-level window of that name exists (visible or not).
    static bool windowExists(const QString &name)
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name)
                return true;
        }
        return false;
    }
};
