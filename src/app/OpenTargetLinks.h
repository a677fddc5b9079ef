#pragma once

#include "open/OpenTargets.h"

class HtmlViewer;
class TextLoader;
class ViewGraphic;

// Where the commands that open files reach the editor and the picture viewer of the main
// window.
class OpenTargetLinks : public TextFileOpener, public HtmlPageViewer, public PictureOpener
{
public:
    OpenTargetLinks(TextLoader &editor, HtmlViewer &htmlViewer, ViewGraphic &pictures);

    bool openTextFile(const QString &path) override;
    void showHtmlViewer(const QString &path) override;
    void viewGraphic() override;

private:
    TextLoader &m_editor;
    HtmlViewer &m_htmlViewer;
    ViewGraphic &m_pictures;
};
