#pragma once

#include "editor/Web1.h"
#include "platform/ui/SharedWindow.h"

#include <QString>

#include <functional>
#include <optional>

class HtmlMenuHost;
struct Services;

// The editor's HTML side: when the "HTML" menu shows, Show Changes (the unsaved text as
// temp.html beside the document, in the browser), View Html (the document as saved) and the
// HTML viewer Web1, which the main window's View Html uses too.
class HtmlPreview
{
public:
    // activePaneFile: the path of the active pane's current file ("" when there is none);
    // editor: the editor window when it is loaded.
    HtmlPreview(Services &services, std::function<QString()> activePaneFile,
                std::function<HtmlMenuHost *()> editor);

    // The window's load: the HTML menu shows when the active pane's file is an HTML file.
    void ShowHtmlMenuForPane(HtmlMenuHost &editor);
    // After the open dialog: the HTML menu shows when the chosen file is an HTML file.
    void ShowHtmlMenuForFile(HtmlMenuHost &editor, const QString &fileName);
    // "Show Changes".
    void mnuHtmledit1_Click(HtmlMenuHost &editor);
    // "View Html": the document's file in the browser; never through Web1.
    void mnuView_Click(HtmlMenuHost &editor);

    // Shows the HTML viewer; its load does all the work and closes it again on every road but
    // one (the pane road with a busy automation object). An open viewer is only brought up.
    void showWeb1();
    SharedWindow<Web1> &web1() { return m_web1; }

    // The file: address of a local path, every byte that needs it percent-encoded, so blanks,
    // "#", ";" and "%" reach the browser as part of the path.
    static QString fileAddress(const QString &path);

private:
    void Web1_Load(Web1 &window);

    Services &m_services;
    std::function<QString()> m_activePaneFile;
    std::function<HtmlMenuHost *()> m_editor;
    // The preview cue: the temp.html that Show Changes has written and Web1 is to open.
    std::optional<QString> m_preview;
    SharedWindow<Web1> m_web1;
};
