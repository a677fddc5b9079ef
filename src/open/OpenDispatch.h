#pragma once

#include <QString>

class PaneBoard;
class PictureOpener;
class ViewCommands;
struct Services;

// Opening the one selected file of a pane by the ending of its name: programs start, sound
// and video go to the desktop's player, pictures to View Graphic and HTML files to View Html.
// A double-click in a file list, the pop-up "Run" and File > "Run " come here.
class OpenDispatch
{
public:
    OpenDispatch(const PaneBoard &board, Services &services, PictureOpener &pictures,
                 ViewCommands &views);

    // Pane n's double-click and its pop-up "Run": nothing when no file is selected, a message
    // when more than one is or when the name has no ending of the table.
    void OpenByType(int n);
    // File > "Run ": the first pane with a selection is opened as by a double-click.
    void mnuExecute0_Click();

private:
    const PaneBoard &m_board;
    Services &m_services;
    PictureOpener &m_pictures;
    ViewCommands &m_views;
};
