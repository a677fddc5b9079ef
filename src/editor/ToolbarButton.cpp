#include "editor/ToolbarButton.h"

#include <QMouseEvent>

ToolbarButton::ToolbarButton(const QPixmap &up, const QPixmap &down, QWidget *parent)
    : QLabel(parent), m_upFace(up), m_downFace(down)
{
    setPixmap(m_upFace);
}

void ToolbarButton::mousePressEvent(QMouseEvent *event)
{
    showFace(true);
    event->accept();
}

void ToolbarButton::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton)
        showFace(isOver(event->position()));
    event->accept();
}

void ToolbarButton::mouseReleaseEvent(QMouseEvent *event)
{
    showFace(false);
    event->accept();
    if (event->button() == Qt::LeftButton && isOver(event->position())) {
        // Drawn up before the command runs, which may take a while or open a dialog.
        repaint();
        Q_EMIT clicked();
    }
}

bool ToolbarButton::isOver(const QPointF &position) const
{
    return position.x() > 0 && position.x() <= width() && position.y() >= 0 && position.y() <= height();
}

void ToolbarButton::showFace(bool down)
{
    if (m_down == down)
        return;
    m_down = down;
    setPixmap(down ? m_downFace : m_upFace);
}
