#include "platform/DesktopLaunchers.h"

#include "platform/DetachedStart.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool DetachedProgramStarter::startProgram(const QString &program, WindowStyle, const QString &folder)
{
    // The window style is a request the started program may not honour; X has no portable way
    // to start another program's window maximised.
    if (program.isEmpty())
        return false;
    return DetachedStart::start(program, {}, folder);
}

bool XdgShellOpen::open(const QString &path)
{
    if (path.isEmpty())
        return false;
    return DetachedStart::start(QStringLiteral("xdg-open"), {path});
}

bool SensibleBrowser::isInstalled()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("sensible-browser"));
    return !found.isEmpty() && QFileInfo(found).isExecutable();
}

bool SensibleBrowser::start(const QString &address, WindowStyle)
{
    // An address that starts with "-" would be read as an option of the browser.
    if (address.startsWith(QLatin1Char('-')))
        return false;
    QStringList arguments;
    if (!address.isEmpty())
        arguments << address;
    return QProcess::startDetached(QStringLiteral("sensible-browser"), arguments);
}
