#include "app/Form1.h"
#include "app/PopupPresenter.h"
#include "app/SystemServices.h"
#include "platform/ProgramEnd.h"
#include "settings/RegistryStore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panoptra"));

    SystemServices system;
    RegistryStore store;
    MenuPopupPresenter popups;
    Form1 form(system.services(), store, popups);
    form.Form_Load();
    // The user may have ended the program during the start-up wait; exec() would start over.
    if (system.services().programEnd.isEnding())
        return 0;
    form.show();
    return app.exec();
}
