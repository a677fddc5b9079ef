#include "app/OpenTargetLinks.h"

#include "editor/HtmlViewer.h"
#include "editor/TextLoader.h"
#include "picview/ViewGraphic.h"

OpenTargetLinks::OpenTargetLinks(TextLoader &editor, HtmlViewer &htmlViewer, ViewGraphic &pictures)
    : m_editor(editor), m_htmlViewer(htmlViewer), m_pictures(pictures)
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
    m_pictures.mnuBmp_Click();
}
