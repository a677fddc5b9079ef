#include "textbox/TextCodec.h"

#include "textbox/TextScan.h"
#include "textbox/TextLines.h"
#include "platform/PathCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>

namespace {

// Windows-1252 at 0x80..0x9F; the five bytes the code page leaves undefined stand for the
// control characters of the same value, so that every byte reads back to itself.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The path codec's raw bytes: U+DC80..U+DCFF stands for the byte 0x80..0xFF of no valid
// sequence, where it is no second half of a pair.
constexpr char16_t rawByteBase = 0xDC00;

bool isRawByteAt(QStringView text, qsizetype i)
{
    const char16_t code = text.at(i).unicode();
    return code >= 0xDC80 && code <= 0xDCFF && !(i > 0 && text.at(i - 1).isHighSurrogate());
}

bool isUtf8(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8WithBom;
}

bool isUtf16(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
}

// Windows-1252's byte for code, or -1.
int windows1252Byte(char16_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return code;
    const auto *found = std::find(windows1252High.begin(), windows1252High.end(), code);
    return found == windows1252High.end() ? -1 : int(0x80 + (found - windows1252High.begin()));
}

bool appendWindows1252(QByteArray &out, QStringView text)
{
    const qsizetype old = out.size();
    out.resize(old + text.size());
    char *to = out.data() + old;
    for (const QChar ch : text) {
        const int byte = windows1252Byte(ch.unicode());
        if (byte < 0) {
            out.resize(old);
            return false;
        }
        *to++ = char(byte);
    }
    return true;
}

void appendUtf16(QByteArray &out, QStringView text, bool bigEndian)
{
    const qsizetype old = out.size();
    out.resize(old + 2 * text.size());
    char *to = out.data() + old;
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        const char low = char(code & 0xFF);
        const char high = char(code >> 8);
        *to++ = bigEndian ? high : low;
        *to++ = bigEndian ? low : high;
    }
}

// Runs of text through the UTF-8 encoder, each raw byte as itself.
bool appendUtf8(QByteArray &out, QStringView text)
{
    const qsizetype old = out.size();
    QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const auto appendRun = [&](QStringView run) {
        const qsizetype at = out.size();
        out.resize(at + encoder.requiredSpace(run.size()));
        char *end = encoder.appendToBuffer(out.data() + at, run);
        out.resize(end - out.constData());
    };
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!QChar::isSurrogate(text.at(i).unicode()) || !isRawByteAt(text, i))
            continue;
        appendRun(text.sliced(runStart, i - runStart));
        out.append(char(text.at(i).unicode() - rawByteBase));
        runStart = i + 1;
    }
    appendRun(text.sliced(runStart));
    // A lone surrogate that stands for no byte has no UTF-8 form.
    if (encoder.hasError()) {
        out.resize(old);
        return false;
    }
    return true;
}

QString fromUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    QString text(units, Qt::Uninitialized);
    QChar *to = text.data();
    const auto *from = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0; i < units; ++i, from += 2)
        *to++ = QChar(char16_t(bigEndian ? (from[0] << 8) | from[1] : (from[1] << 8) | from[0]));
    return text;
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
    QByteArray bytes = byteOrderMark(format.encoding).toByteArray();
    if (!appendEncoded(bytes, text, format.encoding))
        return std::nullopt;
    const bool addLineEnd = format.finalLineEnd && !text.isEmpty() && !LineEnds::startingWith(text.back().unicode());
    if (addLineEnd && !appendEncoded(bytes, LineEnds::text(format.lineEnd), format.encoding))
        return std::nullopt;
    return bytes;
}

std::optional<QByteArray> encodeText(QStringView text, TextEncoding encoding)
{
    QByteArray bytes;
    if (!appendEncoded(bytes, text, encoding))
        return std::nullopt;
    return bytes;
}

bool appendEncoded(QByteArray &out, QStringView text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Windows1252:
        return appendWindows1252(out, text);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        appendUtf16(out, text, encoding == TextEncoding::Utf16BE);
        return true;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        break;
    }
    return appendUtf8(out, text);
}

qint64 encodedSize(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return text.size();
    if (isUtf16(encoding))
        return 2 * qint64(text.size());
    qint64 size = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t code = text.at(i).unicode();
        if (code < 0x80)
            size += 1;
        else if (code < 0x800)
            size += 2;
        else if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            size += 4, ++i;
        else if (isRawByteAt(text, i))
            size += 1;
        else
            size += 3;
    }
    return size;
}

std::optional<qsizetype> firstUnencodable(QStringView text, TextEncoding encoding)
{
    if (isUtf16(encoding))
        return std::nullopt;
    const bool windows1252 = encoding == TextEncoding::Windows1252;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t code = text.at(i).unicode();
        if (windows1252) {
            if (windows1252Byte(code) < 0)
                return i;
            continue;
        }
        if (!QChar::isSurrogate(code))
            continue;
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!isRawByteAt(text, i))
            return i;
    }
    return std::nullopt;
}

QString toText(QByteArrayView bytes, TextEncoding encoding, bool validUtf8)
{
    switch (encoding) {
    case TextEncoding::Windows1252:
        return fromWindows1252(bytes);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return fromUtf16(bytes, encoding == TextEncoding::Utf16BE);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        break;
    }
    if (!validUtf8)
        return PathCodec::decode(bytes.data(), bytes.size());
    // A byte-order mark within the text is a character (the file's own lies before it).
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QByteArrayView byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8WithBom:
        return "\xEF\xBB\xBF";
    case TextEncoding::Utf16LE:
        return "\xFF\xFE";
    case TextEncoding::Utf16BE:
        return "\xFE\xFF";
    case TextEncoding::Utf8:
    case TextEncoding::Windows1252:
        break;
    }
    return {};
}

bool writesAlike(TextEncoding a, TextEncoding b)
{
    return a == b || (isUtf8(a) && isUtf8(b));
}

QString withPlainLineBreaks(const QString &text)
{
    const auto otherEnd = [](QChar ch) { return ch != QLatin1Char('\n') && LineEnds::mayBeginWith(ch.unicode()); };
    if (std::none_of(text.cbegin(), text.cend(), otherEnd))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text.at(i).unicode();
        if (!LineEnds::startingWith(ch)) {
            out += QChar(ch);
            continue;
        }
        // An end of two characters is one break.
        if (i + 1 < text.size() && LineEnds::joins(ch, text.at(i + 1).unicode()))
            ++i;
        out += QLatin1Char('\n');
    }
    return out;
}

QString encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    case TextEncoding::Utf16LE:
        return QStringLiteral("UTF-16LE");
    case TextEncoding::Utf16BE:
        return QStringLiteral("UTF-16BE");
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        break;
    }
    return QStringLiteral("UTF-8");
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

} // namespace TextCodec
