#pragma once

#include "app/Form1.h"
#include "app/PopupPresenter.h"
#include "editor/TextEditor.h"
#include "editor/Textpad.h"
#include "settings/RegistryStore.h"
#include "support/TestServices.h"

#include <QTest>

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
          timings(timings),
          form(std::make_unique<Form1>(services.services(), store, popups, timings))
    {
    }

    // Runs the start-up as the program does.
    Form1 &start()
    {
        form->Form_Load();
        return *form;
    }
    // The next run of the program, on the same settings file.
    Form1 &restart()
    {
        form.reset();
        form = std::make_unique<Form1>(services.services(), store, popups, timings);
        return start();
    }
    // Waits until the editor loads no file (a command began a load that ends after it); false
    // when a load has not ended within 30 seconds.
    bool editorLoadEnded()
    {
        return QTest::qWaitFor([this] {
            const Textpad *textpad = form->editor().window().ifLoaded();
            return !textpad || !textpad->isLoading();
        }, 30'000);
    }

    TestServices services;
    RegistryStore store;
    NoPopups popups;
    SplashTimings timings;
    std::unique_ptr<Form1> form;
};
