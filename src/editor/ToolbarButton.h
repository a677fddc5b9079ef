#pragma once

#include <QLabel>
#include <QPixmap>

// A picture button of the editor's toolbar: it shows its down face while a mouse button is
// pressed on it and while the left button alone is held with the pointer over it, and its up
// face otherwise. A left-button release over it is a click.
class ToolbarButton : public QLabel
{
    Q_OBJECT

public:
    ToolbarButton(const QPixmap &up, const QPixmap &down, QWidget *parent);

    bool isDown() const { return m_down; }

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // 0 < x <= width and 0 <= y <= height: the left edge counts as outside, the top as inside.
    bool isOver(const QPointF &position) const;
    void showFace(bool down);

    QPixmap m_upFace;
    QPixmap m_downFace;
    bool m_down = false;
};
