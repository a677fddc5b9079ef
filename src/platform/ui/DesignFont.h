#pragma once

#include <QFont>

class QWidget;

// The font the windows were designed in: 8.25 pt "MS Sans Serif" on a screen of 96 dots per
// inch, the scale of the twips. A size in points becomes pixels at that scale (4 to 3), never
// at the screen's own dots per inch, so text keeps the proportions of the controls it was
// measured for. The face asked for is Arial, which the font configuration gives as its metric
// twin (Liberation Sans, Arimo) where Arial itself is missing; a face found wider than Arial is
// condensed to Arial's widths. So a caption that fitted its control at design fits it here.
namespace DesignFont {

inline constexpr qreal designPoints = 8.25;

// Pixels at the design's 96 dots per inch: 8.25 pt is 11 pixels.
int pixelSize(qreal points);

// The design font at points, bold or not.
QFont font(qreal points = designPoints, bool bold = false);

// face, condensed where its letters are wider than Arial's at the same size.
QFont fitted(QFont face);

// Gives widget the design font; its children inherit it unless they set their own.
void apply(QWidget *widget, qreal points = designPoints, bool bold = false);

} // namespace DesignFont
