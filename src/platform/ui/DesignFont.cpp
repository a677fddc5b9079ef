#include "platform/ui/DesignFont.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QWidget>

#include <cmath>

namespace {

// Captions of the program's own, and how wide Arial sets them per pixel of font size.
const QString sample = QStringLiteral("Check to include SubDirectories, Make Internet Connection? Go Forward");
constexpr qreal arialWidth = 66251.0 / 2048;
constexpr qreal arialBoldWidth = 71008.0 / 2048;
// Widths within this of Arial's are left as they are: hinting moves them a little.
constexpr qreal tolerance = 1.01;

} // namespace

namespace DesignFont {

int pixelSize(qreal points)
{
    return qRound(points * 96 / 72);
}

QFont font(qreal points, bool bold)
{
    QFont face(QStringLiteral("Arial"));
    face.setStyleHint(QFont::SansSerif);
    face.setPixelSize(pixelSize(points));
    face.setBold(bold);
    return fitted(face);
}

QFont fitted(QFont face)
{
    face.setStretch(QFont::Unstretched);
    const int pixels = face.pixelSize() > 0 ? face.pixelSize() : QFontInfo(face).pixelSize();
    if (pixels <= 0)
        return face;
    const qreal width = QFontMetricsF(face).horizontalAdvance(sample) / pixels;
    const qreal wanted = face.bold() ? arialBoldWidth : arialWidth;
    if (width > wanted * tolerance)
        face.setStretch(int(std::floor(100 * wanted / width)));
    return face;
}

void apply(QWidget *widget, qreal points, bool bold)
{
    widget->setFont(font(points, bold));
}

} // namespace DesignFont
