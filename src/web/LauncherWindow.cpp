#include "web/LauncherWindow.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScrollBar>

LauncherWindow::LauncherWindow(const LauncherDesign &design, QWidget *parent)
    : QWidget(parent, Qt::Window), m_maximised(design.maximised)
{
    setObjectName(design.name);
    setWindowTitle(QString());
    if (!design.scrollBarName.isEmpty()) {
        auto *scrollBar = new QScrollBar(Qt::Vertical, this);
        scrollBar->setObjectName(design.scrollBarName);
        scrollBar->setGeometry(Twips::rect(design.scrollBarTwips));
    }
    for (const ControlDesign &control : design.buttons) {
        auto *button = new QPushButton(control.text, this);
        button->setObjectName(control.name);
        button->setGeometry(Twips::rect(control.twips));
        // No browser is held here to steer back or forward: the buttons do nothing.
        button->setAutoDefault(false);
    }
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
