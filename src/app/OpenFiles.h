#pragma once

#include "open/OpenDispatch.h"
#include "open/ViewCommands.h"
#include "open/ZipView.h"

class HtmlViewer;
class MainMenus;
class PaneBoard;
class PictureOpener;
class QObject;
class TextLoader;
struct Services;

// The main window's commands that open files by type: every pane's double-click and pop-up
// Run, File > "Run ", View Text, View Html and ZipView, connected to their items.
class OpenFiles
{
public:
    OpenFiles(PaneBoard &board, Services &services, TextLoader &texts, HtmlViewer &htmlViewer,
              PictureOpener &pictures);

    // Connects the menu items and the panes' double-clicks, for as long as context lives.
    void connectMenus(MainMenus &menus, QObject *context);

    ViewCommands &views() { return m_views; }
    OpenDispatch &dispatch() { return m_dispatch; }

private:
    PaneBoard &m_board;
    ViewCommands m_views;
    OpenDispatch m_dispatch;
    ZipView m_zipView;
};
