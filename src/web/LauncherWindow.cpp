#include "web/LauncherWindow.h"

#include "platform/ui/DesignedWindow.h"

#include <QCloseEvent>
#include <QScrollBar>

LauncherWindow::LauncherWindow(const LauncherDesign &design, QWidget *parent)
    : QWidget(parent, Qt::Window), m_maximised(design.maximised)
{
    setObjectName(design.name);
    setWindowTitle(QString());
    DesignFont::apply(this);
    if (!design.scrollBarName.isEmpty()) {
        auto *scrollBar = new QScrollBar(Qt::Vertical, this);
        scrollBar->setObjectName(design.scrollBarName);
        scrollBar->setGeometry(Twips::rect(design.scrollBarTwips));
    }
    // No browser is held here to steer back or forward: the buttons do nothing.
    for (const ControlDesign &control : design.buttons)
        DesignedWindow::addControl(this, control);
}

void LauncherWindow::showStaying()
{
    if (isVisible()) {
        raise();
    } else if (m_maximised) {
        showMaximized();
    } else {
        show();
    }
    activateWindow();
}

void LauncherWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT unloadRequested();
}
