#pragma once

#include "picview/Picture.h"
#include "picview/PictureRender.h"

#include <QWidget>

// The viewer's image control: draws its picture scaled to its own rectangle. A metafile is
// drawn once per size and shown from that drawing on every paint.
class PictureImage : public QWidget
{
public:
    explicit PictureImage(QWidget *parent = nullptr);

    void setPicture(const Picture &picture);
    const Picture &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Picture m_picture;
    PictureRender m_render;
};
