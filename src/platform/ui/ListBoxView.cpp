#include "platform/ui/ListBoxView.h"

#include <QFocusEvent>
#include <QMouseEvent>

ListBoxView::ListBoxView(SelectionMode mode, Behaviours behaviours, QWidget *parent)
    : QListView(parent), m_behaviours(behaviours)
{
    setSelectionMode(mode);
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setDragEnabled(false);
    setMovement(Static);
    setWordWrap(false);
}

void ListBoxView::mousePressEvent(QMouseEvent *event)
{
    // The other buttons are left to the release (pop-up menus).
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    leftPress(event);
}

void ListBoxView::mouseReleaseEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    const QPoint globalPos = event->globalPosition().toPoint();
    if (button == Qt::LeftButton)
        leftRelease(event);
    else
        event->accept();
    Q_EMIT mouseReleased(button, globalPos);
}

void ListBoxView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_behaviours.testFlag(LeftButtonDragsOnly) && (event->buttons() & ~Qt::MouseButtons(Qt::LeftButton))) {
        event->accept();
        return;
    }
    pointerMove(event);
}

void ListBoxView::focusInEvent(QFocusEvent *event)
{
    if (!m_behaviours.testFlag(NoCurrentOnFocus)) {
        QListView::focusInEvent(event);
        return;
    }
    QWidget::focusInEvent(event);
    viewport()->update();
}

void ListBoxView::leftPress(QMouseEvent *event)
{
    QListView::mousePressEvent(event);
}

void ListBoxView::leftRelease(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
}

void ListBoxView::pointerMove(QMouseEvent *event)
{
    QListView::mouseMoveEvent(event);
}
