#pragma once

#include "open/OpenTargets.h"

class HtmlViewer;
class MainMenus;
class TextLoader;

// Where the commands that open files reach the editor and the picture viewer of the main
// window.
class OpenTargetLinks : public TextFileOpener, public HtmlPageViewer, public PictureOpener
{
public:
    OpenTargetLinks(TextLoader &editor, HtmlViewer &htmlViewer, MainMenus &menus);

    bool openTextFile(const QString &path) override;
    void showHtmlViewer(const QString &path) override;
    // The View menu's View Graphic, as if chosen there.
    void viewGraphic() override;

private:
    TextLoader &m_editor;
    HtmlViewer &m_htmlViewer;
    MainMenus &m_menus;
};
