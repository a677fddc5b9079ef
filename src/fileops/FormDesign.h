#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// A control of a designed window: positions and sizes in twips (15 to a pixel), colours as
// toolkit values.
struct ControlDesign
{
    enum class Kind { Label, TextBox, Button };

    Kind kind = Kind::Label;
    QString name = QString();
    QString text = QString();
    QRect twips = QRect();
    std::optional<qint32> backColor = std::nullopt;
    std::optional<qint32> foreColor = std::nullopt;
    bool bold = false;
    bool visible = true;
    bool enabled = true;
    QString toolTip = QString();
};

// A designed window: caption, client area, background and its controls in tab order.
struct FormDesign
{
    enum class Picture { None, TopLeft, Fill };

    QString name = QString();
    QString caption = QString();
    QSize clientTwips = QSize();
    std::optional<qint32> backColor = std::nullopt;
    bool toolWindow = false;
    Picture picture = Picture::None;
    QList<ControlDesign> controls = {};
};

inline int twipsToPixels(int twips)
{
    return qRound(twips / 15.0);
}
