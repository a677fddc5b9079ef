#include "picview/PictureImage.h"

#include <QPaintEvent>
#include <QPainter>

PictureImage::PictureImage(QWidget *parent) : QWidget(parent)
{
}

void PictureImage::setPicture(const Picture &picture)
{
    m_picture = picture;
    update();
}

void PictureImage::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // An enlarged image may be far bigger than the screen: only the exposed part is drawn.
    painter.setClipRect(event->rect());
    m_picture.draw(painter, QRectF(rect()));
}
