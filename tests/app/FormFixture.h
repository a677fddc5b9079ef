#pragma once

#include "app/Form1.h"
#include "app/PopupPresenter.h"
#include "settings/RegistryStore.h"
#include "support/TestServices.h"

#include <memory>

// A pop-up presenter that shows nothing: a real pop-up would wait for the user.
class NoPopups : public PopupPresenter
{
public:
    void popup(QMenu *, const QPoint &) override {}
};

// The main window on test services and a settings file in the services' temporary home.
struct FormFixture
{
    explicit FormFixture(const SplashTimings &timings = SplashTimings{50, 15, 2})
        : store(services.configHome() + QStringLiteral("/Panoptra/Panoptra.ini")),
          form(std::make_unique<Form1>(services.services(), store, popups, timings))
    {
    }

    TestServices services;
    RegistryStore store;
    NoPopups popups;
    std::unique_ptr<Form1> form;
};
