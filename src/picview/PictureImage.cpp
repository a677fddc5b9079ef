#include "picview/PictureImage.h"

#include <QPaintEvent>
#include <QPainter>

PictureImage::PictureImage(QWidget *parent) : QWidget(parent)
{
}

void PictureImage::setPicture(const Picture &picture)
{
    m_picture = picture;
    m_render.clear();
    update();
}

void PictureImage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // An enlarged image may be far bigger than the screen: only the exposed part is drawn.
    painter.setClipRect(event->rect());
    if (m_picture.kind() != Picture::Kind::Metafile) {
        m_picture.draw(painter, QRectF(rect()));
        return;
    }
    const QRect visible = visibleRegion().boundingRect().united(event->rect());
    const PictureRender::Drawing &drawing = m_render.draw(m_picture, size(), visible, devicePixelRatioF());
    painter.drawImage(drawing.at, drawing.image);
}
