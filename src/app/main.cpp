#include "app/Form1.h"
#include "app/PopupPresenter.h"
#include "app/SystemServices.h"
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
    form.show();
    return app.exec();
}
