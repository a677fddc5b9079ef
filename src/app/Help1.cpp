#include "app/Help1.h"

#include "app/HelpText.h"
#include "platform/Twips.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/ToolkitColor.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>

Help1::Help1(QWidget *mainWindow, std::function<void()> unload)
    : QMainWindow(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_unload(std::move(unload))
{
    setObjectName(QStringLiteral("Help1"));
    setWindowTitle(QStringLiteral(" Panoptra Help"));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Help1Client"));
    ToolkitColor::setBackColor(client, ToolkitColor::rgb(0, 0, 192));
    setCentralWidget(client);
    resize(Twips::size(10785, 6645));

    QMenu *exitMenu = menuBar()->addMenu(QStringLiteral("Exit"));
    exitMenu->setObjectName(QStringLiteral("mnuExit0"));
    exitMenu->menuAction()->setObjectName(QStringLiteral("mnuExit0"));
    QAction *exitItem = exitMenu->addAction(QStringLiteral("Exit"));
    exitItem->setObjectName(QStringLiteral("mnuExit1"));
    connect(exitItem, &QAction::triggered, this, [this] { mnuExit1_Click(); });

    // Its place and size are the design's, whatever the window's size.
    Text1 = new QPlainTextEdit(client);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(Twips::rect(1080, 360, 10095, 8055));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DesignFont::apply(Text1, 12);
    Text1->setPlainText(HelpText::text());
}

void Help1::Form_Load()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    resize(area.size());
    move(area.center() - rect().center());
}

void Help1::mnuExit1_Click()
{
    m_unload();
}

void Help1::closeEvent(QCloseEvent *event)
{
    // Only the window manager's own close gets here; it unloads like "Exit".
    event->accept();
    m_unload();
}
