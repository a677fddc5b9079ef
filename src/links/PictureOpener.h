#pragma once

// The picture viewer as the commands that open files by type reach it. The picture viewer's
// View Graphic implements it; app/ hands it to the double-click dispatch.
class PictureOpener
{
public:
    virtual ~PictureOpener() = default;
    // View > View Graphic: with its own checks and messages, shows the viewer on the picture of
    // the first pane with a selection.
    virtual void mnuBmp_Click() = 0;
};
