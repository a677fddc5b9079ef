#include "app/OpenTargetLinks.h"

#include "app/MainMenus.h"

#include <QAction>

OpenTargetLinks::OpenTargetLinks(MainMenus &menus) : m_menus(menus)
{
}

bool OpenTargetLinks::openTextFile(const QString &path)
{
    // Not connected yet: the editor's load goes here.
    Q_UNUSED(path);
    return false;
}

void OpenTargetLinks::showHtmlViewer(const QString &path)
{
    // Not connected yet: the HTML viewer goes here.
    Q_UNUSED(path);
}

void OpenTargetLinks::viewGraphic()
{
    if (QAction *item = m_menus.action(QStringLiteral("mnuBmp")))
        item->trigger();
}
