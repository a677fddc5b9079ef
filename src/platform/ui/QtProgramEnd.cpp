#include "platform/ui/QtProgramEnd.h"

#include <QApplication>
#include <QWidget>

void QtProgramEnd::endNow()
{
    m_ending = true;
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    // Leaves the main loop and every nested one (waits, modal loops) without closing a window.
    QCoreApplication::exit(0);
}
