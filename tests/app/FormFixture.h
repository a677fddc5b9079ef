#pragma once

#include "app/Form1.h"
#include "app/PopupPresenter.h"
#include "settings/RegistryStore.h"
#include "support/TestServices.h"

#include <QMenu>

#include <memory>

// A main window on the test services and a real settings file in the temporary config home.
// start() runs the start-up as the program does (with a short splash); restart() is the next
// run of the program on the same settings file.
class FormFixture
{
public:
    class NoPopups : public PopupPresenter
    {
    public:
        void popup(QMenu *menu, const QPoint &) override { shown << menu->objectName(); }
        QStringList shown;
    };

    FormFixture() : store(services.configHome() + QStringLiteral("/Panoptra/Panoptra.ini")) {}

    Form1 &start()
    {
        form = std::make_unique<Form1>(services.services(), store, popups, SplashTimings{50, 15, 2});
        form->Form_Load();
        return *form;
    }
    Form1 &restart()
    {
        form.reset();
        return start();
    }

    TestServices services;
    RegistryStore store;
    NoPopups popups;
    std::unique_ptr<Form1> form;
};
