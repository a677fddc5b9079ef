#include "app/OpenTargetLinks.h"

#include "app/MainMenus.h"
#include "editor/HtmlViewer.h"
#include "editor/TextLoader.h"

#include <QAction>

OpenTargetLinks::OpenTargetLinks(TextLoader &editor, HtmlViewer &htmlViewer, MainMenus &menus)
    : m_editor(editor), m_htmlViewer(htmlViewer), m_menus(menus)
{
}

bool OpenTargetLinks::openTextFile(const QString &path)
{
    return m_editor.LoadTextFile(path);
}

void OpenTargetLinks::showHtmlViewer(const QString &)
{
    // The viewer takes the same file itself, from the active pane.
    m_htmlViewer.showHtmlViewer();
}

void OpenTargetLinks::viewGraphic()
{
    if (QAction *item = m_menus.action(QStringLiteral("mnuBmp")))
        item->trigger();
}
