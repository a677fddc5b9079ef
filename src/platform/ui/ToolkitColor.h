#pragma once

#include <QColor>
#include <QPalette>
#include <QString>


class QWidget;

// Colours as the program keeps and stores them: a signed 32-bit value, either an RGB colour
// 0x00BBGGRR or a system colour 0x80000000 + index, shown through the widget's palette.
namespace ToolkitColor {

constexpr qint32 rgb(int red, int green, int blue) { return qint32(red | (green << 8) | (blue << 16)); }
constexpr qint32 systemColor(int index) { return qint32(0x80000000u | quint32(index)); }

inline constexpr qint32 Blue = rgb(0, 0, 255);
inline constexpr qint32 Teal = rgb(0, 192, 192);
inline constexpr qint32 White = rgb(255, 255, 255);
inline constexpr qint32 Red = rgb(255, 0, 0);
inline constexpr qint32 WindowBackground = systemColor(5);
inline constexpr qint32 HighlightText = systemColor(14);
inline constexpr qint32 Highlight = systemColor(13);
inline constexpr qint32 ButtonHighlight = systemColor(20);

bool isSystemColor(qint32 value);
// Whether the value is an RGB colour or a system colour the program knows.
bool isValid(qint32 value);
// The colour on screen; an unknown system index gives an invalid QColor.
QColor toQColor(qint32 value);
// The RGB value of a picked colour (always an RGB value, never a system colour).
qint32 fromQColor(const QColor &color);

// Sets a widget's background (and keeps the value, so it can be read back and stored).
void setBackColor(QWidget *widget, qint32 value);
// The value last set with setBackColor, or fallback when none was set.
qint32 backColor(const QWidget *widget, qint32 fallback = WindowBackground);
void setForeColor(QWidget *widget, qint32 value);

} // namespace ToolkitColor
