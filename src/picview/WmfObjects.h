#pragma once

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRgb>
#include <QTransform>

#include <optional>
#include <variant>

class WmfReader;
class WmfWork;

// The objects a metafile creates, kept as the records gave them, and the pens, brushes and
// fonts they become when they are selected: creating one costs little.
namespace Wmf {

struct PenObject
{
    int style = 0;
    int width = 0;
    QRgb color = qRgb(0, 0, 0);
};

struct BrushObject
{
    int style = 0;
    QRgb color = qRgb(0, 0, 0);
    int hatch = 0;
    // A pattern brush's tile. A monochrome one takes the text and background colours when it
    // is used: its pixels of index 0 the text colour, of index 1 the background colour.
    QImage pattern;
    bool monochrome = false;
};

struct FontObject
{
    int height = 0;
    int escapement = 0;
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    // Its bytes' character set (symbolCharset: the Symbol encoding).
    int charset = 0;
    QByteArray face;
};

// An object the player does not draw with (palette, region): it still takes its slot.
struct OtherObject
{
};

using GdiObject = std::variant<std::monostate, PenObject, BrushObject, FontObject, OtherObject>;

enum ObjectFunction : quint16 {
    CreatePen = 0x02FA, CreateBrush = 0x02FC, CreateFont = 0x02FB, CreatePalette = 0x00F7,
    CreatePatternBrush = 0x01F9, DibCreatePatternBrush = 0x0142, CreateRegion = 0x06FF,
};

// True for a record of one of the functions above.
bool createsObject(quint16 function);
// The object that a record of one of the functions above creates; nothing for any other
// record. A pattern's pixels count as bitmap work.
std::optional<GdiObject> readObject(quint16 function, WmfReader &r, WmfWork &work);

// True when shapes drawn with the brush are filled.
bool fills(const BrushObject &brush);
// The pen as drawn where one logical unit is scale pixels wide, never wider than maxWidth
// pixels. One thinner than a pixel is drawn one pixel wide, its dashes counted in pixels;
// only such thin pens have dashes, a wider one is solid.
QPen pen(const PenObject &object, qreal scale, qreal maxWidth);
// Its width in pixels: 0 for no pen, at least 1.
qreal penPixels(const PenObject &object, qreal scale, qreal maxWidth);
// The brush with a monochrome pattern in the text and background colours; a pattern's tiles
// placed by patternTransform.
QBrush brush(const BrushObject &object, const QColor &text, const QColor &back, const QTransform &patternTransform);
QFont font(const FontObject &object);

} // namespace Wmf
