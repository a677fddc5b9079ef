#include "app/Form1.h"
#include "app/PopupPresenter.h"
#include "platform/Clock.h"
#include "platform/DesktopLaunchers.h"
#include "platform/FreedesktopTrash.h"
#include "platform/PathHelper.h"
#include "platform/PosixFileServices.h"
#include "platform/SystemDrives.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Printer.h"
#include "platform/ui/QtDialogs.h"
#include "platform/ui/QtProgramEnd.h"
#include "platform/ui/Services.h"
#include "settings/RegistryStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panoptra"));

    QtDialogs dialogs;
    PosixFileServices files;
    FreedesktopTrash trash;
    SystemDrives drives;
    QStringList driveRoots;
    for (const Drive &drive : drives.drives())
        driveRoots << drive.root;
    const PathHelper paths(driveRoots);
    QtClipboard clipboard;
    DetachedProgramStarter programs;
    XdgShellOpen shellOpen;
    SensibleBrowser browser;
    NoBrowserAutomation browserAutomation;
    NoShellWindows shellWindows;
    SystemPrinter printer;
    QtProgramEnd programEnd;
    SystemClock clock;
    Services services{dialogs, files, trash, drives, paths, clipboard, programs, shellOpen, browser,
                      browserAutomation, shellWindows, printer, programEnd, clock};

    RegistryStore store;
    MenuPopupPresenter popups;
    Form1 form(services, store, popups);
    form.Form_Load();
    form.show();
    return app.exec();
}
