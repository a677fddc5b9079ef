#include "picview/ViewState.h"

#include "picview/ZoomLadder.h"

void ViewState::showLoaded(const QSizeF &pictureTwips)
{
    m_imageRect = QRectF(QPointF(imageLeft, imageTop), pictureTwips);
    m_caption = ZoomLadder::trueSize();
    // Once shown, the scroll bar stays, whatever is shown later.
    if (pictureTwips.height() > scrollBarHeight)
        m_scrollBarShown = true;
}

void ViewState::replacePicture(const QSizeF &pictureTwips)
{
    if (!m_stretch)
        m_imageRect.setSize(pictureTwips);
}

ViewState::EnlargeResult ViewState::enlarge()
{
    if (m_imageRect.height() > enlargeLimit)
        return EnlargeResult::AtMaximum;
    m_stretch = true;
    const std::optional<QString> above = ZoomLadder::captionAbove(m_caption);
    if (!above)
        return EnlargeResult::Unchanged;
    m_caption = *above;
    rescale(2.0);
    return EnlargeResult::Changed;
}

bool ViewState::reduce()
{
    m_stretch = true;
    const std::optional<QString> below = ZoomLadder::captionBelow(m_caption);
    if (!below)
        return false;
    m_caption = *below;
    rescale(0.5);
    return true;
}

void ViewState::scrollTo(int value)
{
    m_scrollValue = value;
    m_imageRect.moveTopLeft(QPointF(0, -double(value)));
}

void ViewState::rescale(double factor)
{
    m_imageRect = QRectF(0, 0, m_imageRect.width() * factor, m_imageRect.height() * factor);
}
