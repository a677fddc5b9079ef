#pragma once

#include "platform/Twips.h"
#include "platform/ui/DesignFont.h"

#include <QList>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

class QPainter;

// A control of a designed window: positions and sizes in twips (15 to a pixel), colours as
// toolkit values.
struct ControlDesign
{
    enum class Kind { Label, TextBox, Button, CheckBox, List };

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
    // Off: Tab passes the control by; a click still gives it the focus.
    bool tabStop = true;
    // The font's size in points; the face is the design font's (DesignFont).
    qreal pointSize = DesignFont::designPoints;
};

// A background drawing of the program's own: where it goes, its unscaled size in pixels and
// the routine that draws it into a target rectangle.
struct DesignPicture
{
    enum class Placement { None, TopLeft, Fill };

    Placement placement = Placement::None;
    QSizeF naturalSize = QSizeF();
    void (*paint)(QPainter &painter, const QRectF &target) = nullptr;
};

// A designed window: caption, client area, background and its controls in tab order.
struct FormDesign
{

    QString name = QString();
    QString caption = QString();
    QSize clientTwips = QSize();
    std::optional<qint32> backColor = std::nullopt;
    bool toolWindow = false;
    DesignPicture picture = DesignPicture();
    QList<ControlDesign> controls = {};
    // Off: the window opens where the window system puts it.
    bool centred = true;
};

