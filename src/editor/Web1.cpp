#include "editor/Web1.h"

#include "platform/ui/MenuTree.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

namespace {

const QList<MenuEntry> &web1Menus()
{
    static const QList<MenuEntry> table{
        {QString(), QStringLiteral("mnuExit"), QStringLiteral("Exit"), QString()},
        {QStringLiteral("mnuExit"), QStringLiteral("mnuExit1"), QStringLiteral("Exit"), QString()},
    };
    return table;
}

} // namespace

Web1::Web1(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Web1"));
    setWindowTitle(QStringLiteral("Html Viewer"));
    setCentralWidget(new QWidget(this));
    m_menus = std::make_unique<MenuTree>(web1Menus(), menuBar(), this);
    m_menus->onTriggered(QStringLiteral("mnuExit1"), this, [this] { mnuExit1_Click(); });
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(screen->geometry().size());
}

Web1::~Web1() = default;

void Web1::mnuExit1_Click()
{
    close();
}

void Web1::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT unloadRequested();
}
