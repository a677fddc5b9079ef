#pragma once

#include "links/PictureOpener.h"
#include "picview/RealView.h"
#include "picview/Saveas.h"
#include "platform/ui/SharedWindow.h"

#include <QString>

#include <optional>

class PaneBoard;
struct Services;

// View Graphic: the main window's commands that open the picture viewer on a pane's picture,
// and the one shared viewer window they open. The commands that open files by type reach it as
// their PictureOpener.
class ViewGraphic : public PictureOpener
{
public:
    ViewGraphic(PaneBoard &board, Services &services);

    // View > View Graphic: opens the viewer when some pane's current file has a picture ending
    // and a pane has a selection ("Please select a file first" when none has). The viewer
    // offers the first selected pane's file itself.
    void mnuBmp_Click() override;
    // A pane's pop-up "View Graphic": goes on only when pane n's own current file has a picture
    // ending.
    void mnuGraphic_Click(int n);
    // Opens the viewer with its open dialog preset to path instead of a pane's file, for a
    // caller that has picked the picture itself; a viewer already open only comes to the front.
    void showPicture(const QString &path);

    // The viewer window; referring to it through get() loads it.
    SharedWindow<RealView> &viewer() { return m_viewer; }
    // The viewer's save-as dialog, which outlives a closed viewer.
    SharedWindow<Saveas> &saveas() { return m_saveas; }

    static QString selectFirstMessage();

private:
    void showViewer(const std::optional<QString> &presetPath);
    // The file that a newly loaded viewer offers: the preset path, else the first selected
    // pane's file, else none.
    std::optional<QString> pathToOffer() const;
    RealView *createViewer();

    PaneBoard &m_board;
    Services &m_services;
    std::optional<QString> m_presetPath;
    SharedWindow<RealView> m_viewer;
    // After the viewer: it uses the viewer, and goes first.
    SharedWindow<Saveas> m_saveas;
};
