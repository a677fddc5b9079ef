#pragma once

#include "editor/EditorState.h"
#include "editor/HtmlPreview.h"
#include "editor/Textpad.h"
#include "links/HtmlViewer.h"
#include "links/TextLoader.h"
#include "platform/ui/SharedWindow.h"

struct Services;

// The editor as the program holds it: its one shared window and the values that outlive it.
// app/ owns it, connects the main window's items to it and hands it, as a TextLoader and an
// HtmlViewer, to the windows that open files as text or HTML.
class TextEditor : public TextLoader, public HtmlViewer
{
public:
    // activePaneFile: the path of the main window's active pane's current file ("" for none),
    // for the HTML menu test and the HTML viewer's pane road.
    explicit TextEditor(Services &services, std::function<QString()> activePaneFile = {});
    ~TextEditor() override;

    // The editor window, loaded (which shows it) when it is not loaded; an open window is not
    // shown again, brought to the front or restored, and keeps its place, text and settings.
    Textpad *show();
    SharedWindow<Textpad> &window() { return m_window; }
    EditorState &state() { return m_state; }
    HtmlPreview &html() { return m_html; }

    void LoadTextFile(const QString &path, std::function<void(bool loaded)> done = {}) override;
    void showHtmlViewer() override { m_html.showWeb1(); }

    // Before the program ends: a changed text is offered for saving; false keeps the
    // program running (the save was cancelled or failed).
    bool mayEndProgram();

private:
    Services &m_services;
    EditorState m_state;
    SharedWindow<Textpad> m_window;
    HtmlPreview m_html;
};
