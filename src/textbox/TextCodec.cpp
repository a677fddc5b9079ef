#include "textbox/TextCodec.h"

#include "textbox/TextScan.h"
#include "textbox/TextLines.h"

#include <QStringEncoder>

#include <algorithm>
#include <array>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF", 3);

// Windows-1252 at 0x80..0x9F; the five bytes the code page leaves undefined stand for the
// control characters of the same value, so that every byte reads back to itself.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool inWindows1252(char16_t code)
{
    return code < 0x80 || (code >= 0xA0 && code <= 0xFF)
        || std::find(windows1252High.begin(), windows1252High.end(), code) != windows1252High.end();
}

std::optional<QByteArray> toWindows1252(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            *out++ = char(code);
            continue;
        }
        const auto *found = std::find(windows1252High.begin(), windows1252High.end(), code);
        if (found == windows1252High.end())
            return std::nullopt;
        *out++ = char(0x80 + (found - windows1252High.begin()));
    }
    return bytes;
}

} // namespace

namespace TextCodec {

DecodedText decode(const QByteArray &bytes)
{
    TextScan scan;
    scan.add(bytes);
    const TextLines::Read read = TextLines::fromBytes(bytes, scan.encoding());
    return {read.lines.fileText(read.format.lineEnd), read.format};
}

std::optional<QByteArray> encode(const QString &text, const TextFormat &format)
{
    const bool addLineEnd = format.finalLineEnd && (text.isEmpty() || !lineEndStartingWith(text.back()));
    std::optional<QByteArray> bytes = encodeText(text, format.encoding);
    const std::optional<QByteArray> end = addLineEnd ? encodeText(lineEndText(format.lineEnd), format.encoding)
                                                     : std::optional(QByteArray());
    if (!bytes || !end)
        return std::nullopt;
    *bytes += *end;
    if (format.encoding == TextEncoding::Utf8WithBom)
        bytes->prepend(utf8Bom);
    return bytes;
}

std::optional<QByteArray> encodeText(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return toWindows1252(text);
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    // A lone surrogate has no UTF-8 form.
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

std::optional<qsizetype> firstUnencodable(const QString &text, TextEncoding encoding)
{
    const bool windows1252 = encoding == TextEncoding::Windows1252;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t code = text.at(i).unicode();
        if (windows1252) {
            if (!inWindows1252(code))
                return i;
            continue;
        }
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(code))
            return i;
    }
    return std::nullopt;
}

QString withPlainLineBreaks(const QString &text)
{
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QString encodingName(TextEncoding encoding)
{
    return encoding == TextEncoding::Windows1252 ? QStringLiteral("Windows-1252") : QStringLiteral("UTF-8");
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out->unicode() = (byte >= 0x80 && byte < 0xA0) ? windows1252High[byte - 0x80] : char16_t(byte);
        ++out;
    }
    return text;
}

QStringView lineEndText(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::CrLf:
        return u"\r\n";
    case LineEnd::Lf:
        return u"\n";
    case LineEnd::Cr:
        return u"\r";
    case LineEnd::ParagraphSeparator:
        return u"\u2029";
    case LineEnd::Fdd0:
        return u"\uFDD0";
    case LineEnd::Fdd1:
        return u"\uFDD1";
    }
    return u"\n";
}

std::optional<LineEnd> lineEndStartingWith(QChar ch)
{
    switch (ch.unicode()) {
    case u'\n':
        return LineEnd::Lf;
    case u'\r':
        return LineEnd::Cr;
    case 0x2029:
        return LineEnd::ParagraphSeparator;
    case 0xFDD0:
        return LineEnd::Fdd0;
    case 0xFDD1:
        return LineEnd::Fdd1;
    default:
        return std::nullopt;
    }
}

} // namespace TextCodec
