#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

// What the viewer window shows, without the window: the zoom step (its caption), the image
// rectangle in twips relative to the picture area, whether the image is stretched to that
// rectangle, and the vertical scroll bar.
class ViewState
{
public:
    enum class EnlargeResult { Changed, AtMaximum, Unchanged };

    // The image's place at creation, in twips from the picture area's top left corner.
    static constexpr double imageLeft = 0;
    static constexpr double imageTop = 20;
    // A picture taller than this at "True Size" gets the scroll bar.
    static constexpr double scrollBarHeight = 5000;
    // An image taller than this cannot be enlarged.
    static constexpr double enlargeLimit = 4000;

    // A picture of the given size was loaded by the window's load: "True Size", the image at
    // its first place with the picture's size, and the scroll bar for a tall picture.
    void showLoaded(const QSizeF &pictureTwips);
    // Another picture replaces the shown one: the caption and the scroll bar stay; an image
    // that was never zoomed takes the new picture's size, a stretched one keeps its rectangle.
    void replacePicture(const QSizeF &pictureTwips);

    // One step up the ladder, refused when the image is taller than the limit.
    EnlargeResult enlarge();
    // One step down the ladder; false when nothing changed.
    bool reduce();
    // The scroll bar moved to value: the image moves up by value twips.
    void scrollTo(int value);

    const QString &caption() const { return m_caption; }
    const QRectF &imageRect() const { return m_imageRect; }
    bool isStretched() const { return m_stretch; }
    bool scrollBarShown() const { return m_scrollBarShown; }
    int scrollValue() const { return m_scrollValue; }

private:
    // The image at the top left corner, its size scaled by factor.
    void rescale(double factor);

    QString m_caption;
    QRectF m_imageRect{imageLeft, imageTop, 0, 0};
    bool m_stretch = false;
    bool m_scrollBarShown = false;
    int m_scrollValue = 0;
};
