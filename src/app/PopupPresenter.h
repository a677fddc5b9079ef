#pragma once

#include <QPoint>

class QMenu;

// Shows a pane's pop-up menu at the pointer and runs the chosen command before returning.
// Tests put a recorder in its place, since a real pop-up waits for the user.
class PopupPresenter
{
public:
    virtual ~PopupPresenter() = default;
    virtual void popup(QMenu *menu, const QPoint &globalPos) = 0;
};

class MenuPopupPresenter : public PopupPresenter
{
public:
    void popup(QMenu *menu, const QPoint &globalPos) override;
};
