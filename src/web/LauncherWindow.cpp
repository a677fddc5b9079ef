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
        m_scrollBar = new QScrollBar(Qt::Vertical, this);
        m_scrollBar->setObjectName(design.scrollBarName);
        m_scrollBar->setGeometry(Twips::rect(design.scrollBarTwips));
    }
    for (const ControlDesign &control : design.buttons) {
        auto *button = new QPushButton(control.text, this);
        button->setObjectName(control.name);
        button->setGeometry(Twips::rect(control.twips));
        button->setAutoDefault(false);
        // There is no browser here to steer: the buttons only put the scroll bar back.
        connect(button, &QPushButton::clicked, this, [this] {
            if (m_scrollBar)
                m_scrollBar->setValue(1);
        });
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
