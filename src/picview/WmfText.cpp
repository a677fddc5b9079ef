#include "picview/WmfText.h"

#include <QStringDecoder>

#include <algorithm>
#include <iterator>

namespace Wmf {

namespace {

// The Symbol encoding from byte 0x20 on, eight bytes a row; 0 where it defines no character.
// Its serif and sans-serif marks are both the one registered, copyright and trade mark sign;
// the pieces of large brackets, braces, integrals and arrows are the ones Unicode has for them;
// the radical's extender is the overline, and the angle brackets the mathematical ones.
constexpr char16_t symbolEncoding[] = {
    /* 0x20 */ 0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B,
    /* 0x28 */ 0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    /* 0x30 */ 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    /* 0x38 */ 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    /* 0x40 */ 0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,
    /* 0x48 */ 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    /* 0x50 */ 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,
    /* 0x58 */ 0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    /* 0x60 */ 0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,
    /* 0x68 */ 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    /* 0x70 */ 0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,
    /* 0x78 */ 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0,
    /* 0x80 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* 0x88 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* 0x90 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* 0x98 */ 0, 0, 0, 0, 0, 0, 0, 0,
    /* 0xA0 */ 0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,
    /* 0xA8 */ 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    /* 0xB0 */ 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,
    /* 0xB8 */ 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    /* 0xC0 */ 0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,
    /* 0xC8 */ 0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    /* 0xD0 */ 0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,
    /* 0xD8 */ 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    /* 0xE0 */ 0x25CA, 0x27E8, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,
    /* 0xE8 */ 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    /* 0xF0 */ 0, 0x27E9, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,
    /* 0xF8 */ 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0,
};
constexpr int symbolEncodingFirst = 0x20;
static_assert(std::size(symbolEncoding) == 0x100 - symbolEncodingFirst);

char16_t symbolCharacter(quint8 byte)
{
    const char16_t mapped = byte >= symbolEncodingFirst ? symbolEncoding[byte - symbolEncodingFirst] : 0;
    return mapped ? mapped : char16_t(byte);
}

// The code page each font character set's bytes are in. The ANSI and default sets are the
// Western code page, whose 0x80..0x9F hold the curly quotes, dashes and the euro sign.
struct CharsetCodePage
{
    int charset;
    const char *codePage;
};
constexpr CharsetCodePage charsetCodePages[] = {
    {0, "windows-1252"},   // ANSI
    {1, "windows-1252"},   // default
    {77, "macintosh"},     // Mac
    {128, "Shift_JIS"},    // Shift-JIS
    {129, "windows-949"},  // Hangul
    {134, "GBK"},          // GB 2312
    {136, "Big5"},         // Chinese Big5
    {161, "windows-1253"}, // Greek
    {162, "windows-1254"}, // Turkish
    {163, "windows-1258"}, // Vietnamese
    {177, "windows-1255"}, // Hebrew
    {178, "windows-1256"}, // Arabic
    {186, "windows-1257"}, // Baltic
    {204, "windows-1251"}, // Russian
    {222, "windows-874"},  // Thai
    {238, "windows-1250"}, // Eastern Europe
    {255, "IBM437"},       // OEM
};

const char *codePageOf(int charset)
{
    const auto *found = std::find_if(std::begin(charsetCodePages), std::end(charsetCodePages),
                                     [charset](const CharsetCodePage &entry) { return entry.charset == charset; });
    return found == std::end(charsetCodePages) ? "windows-1252" : found->codePage;
}

} // namespace

QString decodeText(const QByteArray &bytes, int charset)
{
    if (charset != symbolCharset) {
        QStringDecoder decoder(codePageOf(charset));
        // Without the converter (a Qt built without ICU), the bytes' Latin-1 characters.
        if (!decoder.isValid())
            return QString::fromLatin1(bytes);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(symbolCharacter(quint8(bytes[i])));
    return text;
}

QList<qreal> characterStarts(const QList<qint16> &widths, qsizetype characters, qreal unit)
{
    if (widths.isEmpty() || widths.size() != characters)
        return {};
    QList<qreal> starts;
    starts.reserve(characters + 1);
    qreal at = 0;
    starts.append(at);
    for (const qint16 width : widths) {
        at += width * unit;
        starts.append(at);
    }
    return starts;
}

TextPlacement placeText(const QPointF &reference, qreal width, qreal ascent, qreal height, int align,
                        int escapement)
{
    // The reference point's place in the cell.
    qreal x = 0;
    if ((align & AlignCenter) == AlignCenter)
        x = width / 2;
    else if (align & AlignRight)
        x = width;
    qreal y = 0;
    if ((align & AlignBaseline) == AlignBaseline)
        y = ascent;
    else if (align & AlignBottom)
        y = height;
    // The cell turns about the reference point, so a turned text keeps its alignment along
    // its baseline.
    QTransform turn;
    turn.rotate(-escapement / 10.0);
    TextPlacement placement;
    placement.cell = QTransform::fromTranslate(-x, -y) * turn * QTransform::fromTranslate(reference.x(), reference.y());
    const QPointF advance = turn.map(QPointF(width, 0));
    if ((align & AlignCenter) == AlignCenter)
        placement.next = reference;
    else if (align & AlignRight)
        placement.next = reference - advance;
    else
        placement.next = reference + advance;
    return placement;
}

} // namespace Wmf
