#include "app/PopupPresenter.h"

#include <QMenu>

void MenuPopupPresenter::popup(QMenu *menu, const QPoint &globalPos)
{
    // exec() returns after the chosen item's command has run.
    menu->exec(globalPos);
}
