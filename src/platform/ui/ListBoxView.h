#pragma once

#include <QFlags>
#include <QListView>
#include <QPoint>

// The list views of the program's windows (a pane's folder and file lists, the search results):
// rows of plain text of one height (quick for 100,000 rows), nothing edited or dragged, no word
// wrap. Only the left button selects: a press of another button does nothing, and the release
// of any button is reported with where it was, for the pop-up menus.
class ListBoxView : public QListView
{
    Q_OBJECT

public:
    enum Behaviour {
        // Taking the focus makes no row current (the base view would make row 0 current).
        NoCurrentOnFocus = 0x1,
        // A move with another button than the left held is ignored: it would select the rows
        // it passes over.
        LeftButtonDragsOnly = 0x2,
    };
    Q_DECLARE_FLAGS(Behaviours, Behaviour)

    ListBoxView(SelectionMode mode, Behaviours behaviours, QWidget *parent = nullptr);

Q_SIGNALS:
    // A mouse button was released over the list; globalPos is where.
    void mouseReleased(Qt::MouseButton button, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // The left button's press and release and the moves let through, handled by the base
    // view; a list that tracks more around them overrides these.
    virtual void leftPress(QMouseEvent *event);
    virtual void leftRelease(QMouseEvent *event);
    virtual void pointerMove(QMouseEvent *event);

private:
    Behaviours m_behaviours;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(ListBoxView::Behaviours)
