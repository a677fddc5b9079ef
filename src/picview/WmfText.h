#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>
#include <QTransform>

// How a metafile's text records become characters and where they stand.
namespace Wmf {

// The character set of a font whose bytes are symbols rather than letters.
constexpr int symbolCharset = 2;

// Text alignment flags (SETTEXTALIGN).
enum TextAlign : int {
    UpdateCurrentPosition = 0x01, AlignRight = 0x02, AlignCenter = 0x06, AlignBottom = 0x08, AlignBaseline = 0x18,
};

// The characters that a text record's bytes stand for in a font of charset: in a symbol font
// through the Symbol encoding (Greek, arrows, brackets and the pieces of large ones), in any
// other through that set's code page (Western for a set it does not know). A byte the Symbol
// encoding leaves undefined stays its Latin-1 character.
QString decodeText(const QByteArray &bytes, int charset);

// Where each of a text's characters starts along its baseline, and last where the text ends,
// from the widths an EXTTEXTOUT gives each byte's character (logical units; unit: one logical
// unit's length on the target). Empty when there are no widths, or they are not one to a
// character (a double-byte character set).
QList<qreal> characterStarts(const QList<qint16> &widths, qsizetype characters, qreal unit);

// Where a text cell of width x height (ascent above the baseline) is drawn for the alignment
// flags, in target coordinates, and where the current position goes when the alignment
// updates it.
struct TextPlacement
{
    // From the cell (its top-left corner at 0, 0) to the target.
    QTransform cell;
    // The reference point after the text: past its end for left-aligned text, before its start
    // for right-aligned text, unmoved for centred text.
    QPointF next;
};
// reference: the point the text is aligned on, in target coordinates; escapement: the
// baseline's angle in tenths of a degree, counter-clockwise.
TextPlacement placeText(const QPointF &reference, qreal width, qreal ascent, qreal height, int align,
                        int escapement);

} // namespace Wmf
