#pragma once

class Dialogs;
class HtmlViewer;
class PaneBoard;
class TextLoader;

// The View menu's View Html and View Text, on the active pane's file (the pane whose file list
// was clicked last), whatever menu started them.
class ViewCommands
{
public:
    ViewCommands(const PaneBoard &board, Dialogs &dialogs, TextLoader &texts,
                 HtmlViewer &htmlViewer);

    // View Html, also every pane's pop-up "View Html" and the double-click of an HTML file:
    // when any pane's current file has an HTML ending, the active pane's file goes into the
    // editor and, once it is in, to the HTML viewer.
    void mnuHtm_0_Click();
    // View Text: the active pane's file opens in the editor when it is of a text type.
    void mnuOpenTextFile_Click();
    // Opens pane n's current file in the editor when its name has a text-type ending; does
    // nothing otherwise.
    void OpenAsText(int n);

private:
    const PaneBoard &m_board;
    Dialogs &m_dialogs;
    TextLoader &m_texts;
    HtmlViewer &m_htmlViewer;
};
