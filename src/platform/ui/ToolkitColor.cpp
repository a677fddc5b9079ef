#include "platform/ui/ToolkitColor.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace ToolkitColor {

namespace {
const char backColorProperty[] = "panoptraBackColor";

// System colour indexes of the toolkit and the palette colours that stand for them here.
std::optional<QColor> systemQColor(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 0: return palette.color(QPalette::Window);            // scroll bars
    case 1: return palette.color(QPalette::Window);            // desktop
    case 2: return palette.color(QPalette::Highlight);         // active caption
    case 3: return palette.color(QPalette::Mid);               // inactive caption
    case 4: return palette.color(QPalette::Window);            // menu bar
    case 5: return palette.color(QPalette::Base);              // window background
    case 6: return palette.color(QPalette::Shadow);            // window frame
    case 7: return palette.color(QPalette::WindowText);        // menu text
    case 8: return palette.color(QPalette::Text);              // window text
    case 9: return palette.color(QPalette::HighlightedText);   // caption text
    case 10: return palette.color(QPalette::Mid);              // active border
    case 11: return palette.color(QPalette::Mid);              // inactive border
    case 12: return palette.color(QPalette::Dark);             // application workspace
    case 13: return palette.color(QPalette::Highlight);        // highlight
    case 14: return palette.color(QPalette::HighlightedText);  // highlighted text
    case 15: return palette.color(QPalette::Button);           // button face
    case 16: return palette.color(QPalette::Dark);             // button shadow
    case 17: return palette.color(QPalette::PlaceholderText);  // grey text
    case 18: return palette.color(QPalette::ButtonText);       // button text
    case 19: return palette.color(QPalette::Mid);              // inactive caption text
    case 20: return palette.color(QPalette::Light);            // button highlight
    case 21: return palette.color(QPalette::Shadow);           // 3-D dark shadow
    case 22: return palette.color(QPalette::Midlight);         // 3-D light
    case 23: return palette.color(QPalette::ToolTipText);      // tooltip text
    case 24: return palette.color(QPalette::ToolTipBase);      // tooltip background
    default: return std::nullopt;
    }
}
} // namespace

bool isSystemColor(qint32 value)
{
    return quint32(value) & 0x80000000u;
}

bool isValid(qint32 value)
{
    if (isSystemColor(value))
        return systemQColor(int(quint32(value) & 0x7fffffffu)).has_value();
    return (quint32(value) & 0xff000000u) == 0;
}

QColor toQColor(qint32 value)
{
    if (isSystemColor(value))
        return systemQColor(int(quint32(value) & 0x7fffffffu)).value_or(QColor());
    if (!isValid(value))
        return QColor();
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

qint32 fromQColor(const QColor &color)
{
    return rgb(color.red(), color.green(), color.blue());
}

void setBackColor(QWidget *widget, qint32 value)
{
    const QColor color = toQColor(value);
    if (!color.isValid())
        return;
    widget->setProperty(backColorProperty, value);
    // Only the roles the widget paints itself with: a container's children (pattern boxes,
    // buttons) keep their own colours.
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    if (widget->inherits("QAbstractScrollArea") || widget->inherits("QLineEdit") || widget->inherits("QComboBox"))
        palette.setColor(QPalette::Base, color);
    if (widget->inherits("QAbstractButton") || widget->inherits("QComboBox"))
        palette.setColor(QPalette::Button, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

qint32 backColor(const QWidget *widget, qint32 fallback)
{
    const QVariant value = widget->property(backColorProperty);
    return value.isValid() ? value.toInt() : fallback;
}

void setForeColor(QWidget *widget, qint32 value)
{
    const QColor color = toQColor(value);
    if (!color.isValid())
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

} // namespace ToolkitColor
