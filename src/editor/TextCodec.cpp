#include "editor/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    // The byte-order mark has been dealt with by the caller: any further one is text. The
    // bytes are all there is, so a sequence cut off at the end is an error too.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QString fromWindows1252(const QByteArray &bytes)
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

bool inWindows1252(char16_t code)
{
    return code < 0x80 || (code >= 0xA0 && code <= 0xFF)
        || std::find(windows1252High.begin(), windows1252High.end(), code) != windows1252High.end();
}

std::optional<QByteArray> toWindows1252(const QString &text)
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

TextFormat formatOf(const QByteArray &bytes, TextEncoding encoding)
{
    qsizetype crlf = 0;
    qsizetype lf = 0;
    qsizetype cr = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (bytes[i] == '\n') {
            ++lf;
        }
    }
    TextFormat format;
    format.encoding = encoding;
    if (crlf >= lf && crlf >= cr && crlf > 0)
        format.lineEnd = LineEnd::CrLf;
    else if (cr > lf)
        format.lineEnd = LineEnd::Cr;
    else
        format.lineEnd = LineEnd::Lf;
    format.finalLineEnd = bytes.endsWith('\n') || bytes.endsWith('\r');
    return format;
}

QString lineEndText(LineEnd lineEnd)
{
    switch (lineEnd) {
    case LineEnd::CrLf:
        return QStringLiteral("\r\n");
    case LineEnd::Cr:
        return QStringLiteral("\r");
    case LineEnd::Lf:
        break;
    }
    return QStringLiteral("\n");
}

} // namespace

namespace TextCodec {

DecodedText decode(const QByteArray &bytes)
{
    const bool bom = bytes.startsWith(utf8Bom);
    const QByteArrayView body = bom ? QByteArrayView(bytes).sliced(utf8Bom.size()) : QByteArrayView(bytes);
    if (std::optional<QString> text = strictUtf8(body))
        return {withPlainLineBreaks(*text), formatOf(bytes, bom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8)};
    return {withPlainLineBreaks(fromWindows1252(bytes)), formatOf(bytes, TextEncoding::Windows1252)};
}

std::optional<QByteArray> encode(const QString &text, const TextFormat &format)
{
    QString out = text;
    if (format.finalLineEnd && !out.endsWith(QLatin1Char('\n')))
        out += QLatin1Char('\n');
    if (format.lineEnd != LineEnd::Lf)
        out.replace(QLatin1Char('\n'), lineEndText(format.lineEnd));

    if (format.encoding == TextEncoding::Windows1252)
        return toWindows1252(out);
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(out);
    // A lone surrogate has no UTF-8 form.
    if (encoder.hasError())
        return std::nullopt;
    if (format.encoding == TextEncoding::Utf8WithBom)
        bytes.prepend(utf8Bom);
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

} // namespace TextCodec
