#include "settings/IniSyntax.h"

#include "platform/PathCodec.h"

#include <QDataStream>
#include <QMetaType>

namespace {

int hexValue(char16_t ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

bool isOctal(char ch)
{
    return ch >= '0' && ch <= '7';
}

char hexDigit(uint value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

QString decodeBytes(QByteArrayView bytes)
{
    return PathCodec::decode(bytes.constData(), bytes.size());
}

// The characters that %XX stands for, or nothing when no hex number of digits starts at from.
std::optional<char16_t> hexNumber(QStringView text, qsizetype from, int digits)
{
    if (from + digits > text.size())
        return std::nullopt;
    char16_t value = 0;
    for (int i = 0; i < digits; ++i) {
        const int digit = hexValue(text.at(from + i).unicode());
        if (digit < 0)
            return std::nullopt;
        value = char16_t(value * 16 + digit);
    }
    return value;
}

// Where a value written as "@Type(...)" holds no text. QSettings writes its other types so.
bool holdsNoText(const QString &text)
{
    const auto argumentCount = [&text](qsizetype open) {
        // As QSettings counts them: one more than the blanks, the closing bracket ending the last.
        int count = 0;
        for (qsizetype i = open + 1; i < text.size(); ++i) {
            if (text.at(i) == u' ' || text.at(i) == u')')
                ++count;
        }
        return count;
    };
    if (text.startsWith(QLatin1String("@ByteArray(")) || text.startsWith(QLatin1String("@DateTime(")))
        return true;
    if (text.startsWith(QLatin1String("@Rect(")))
        return argumentCount(5) == 4;
    if (text.startsWith(QLatin1String("@Size(")))
        return argumentCount(5) == 2;
    if (text.startsWith(QLatin1String("@Point(")))
        return argumentCount(6) == 2;
    return text == QLatin1String("@Invalid()");
}

// The text a "@Variant(...)" value holds, when the variant is text at all. QSettings writes a
// variant as QDataStream does (Qt 4.0 format): its type, then for text its length in bytes and
// its UTF-16 units, big-endian. Read here by hand, so that a length that claims more than
// the value holds costs nothing.
std::optional<QString> variantText(const QString &text)
{
    const QByteArray data = QStringView(text).sliced(9).chopped(1).toLatin1();
    QDataStream stream(data);
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 type = 0;
    quint32 bytes = 0;
    stream >> type >> bytes;
    if (stream.status() != QDataStream::Ok || type != QMetaType::QString)
        return std::nullopt;
    if (bytes == 0xFFFFFFFF)
        return QString();
    const qsizetype start = 2 * sizeof(quint32);
    if (bytes % 2 != 0 || qsizetype(bytes) > data.size() - start)
        return std::nullopt;
    QString result(qsizetype(bytes / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < result.size(); ++i)
        result[i] = QChar(char16_t(uchar(data.at(start + 2 * i)) << 8 | uchar(data.at(start + 2 * i + 1))));
    return result;
}

// The value that the unescaped text of a line stands for.
IniSyntax::Value typedValue(const QString &text)
{
    if (!text.startsWith(u'@'))
        return {true, text};
    if (text.endsWith(u')')) {
        if (text.startsWith(QLatin1String("@String(")))
            return {true, text.sliced(8).chopped(1)};
        if (text.startsWith(QLatin1String("@Variant("))) {
            const std::optional<QString> inner = variantText(text);
            return inner ? IniSyntax::Value{true, *inner} : IniSyntax::Value{};
        }
        if (holdsNoText(text))
            return {};
    }
    if (text.startsWith(QLatin1String("@@")))
        return {true, text.sliced(1)};
    return {true, text};
}

} // namespace

namespace IniSyntax {

QString decodeKey(QByteArrayView spelled)
{
    QString key;
    appendKey(key, spelled);
    return key;
}

void appendKey(QString &key, QByteArrayView spelled)
{
    const qsizetype from = key.size();
    bool ascii = true;
    for (const char ch : spelled)
        ascii = ascii && uchar(ch) < 0x80;
    if (ascii)
        key += QLatin1StringView(spelled);
    else
        key += decodeBytes(spelled);

    if (!QStringView(key).sliced(from).contains(u'%')) {
        QChar *chars = key.data();
        for (qsizetype i = from; i < key.size(); ++i) {
            if (chars[i] == u'\\')
                chars[i] = u'/';
        }
        return;
    }
    const QString decoded = key.sliced(from);
    key.truncate(from);
    qsizetype i = 0;
    while (i < decoded.size()) {
        const QChar ch = decoded.at(i);
        if (ch == u'\\') {
            key += u'/';
            ++i;
            continue;
        }
        if (ch == u'%') {
            const bool wide = i + 1 < decoded.size() && decoded.at(i + 1) == u'U';
            const qsizetype first = i + (wide ? 2 : 1);
            const int digits = wide ? 4 : 2;
            if (const std::optional<char16_t> value = hexNumber(decoded, first, digits)) {
                key += QChar(*value);
                i = first + digits;
                continue;
            }
        }
        key += ch;
        ++i;
    }
}

QByteArray encodeKey(const QString &key)
{
    QByteArray spelled;
    spelled.reserve(key.size() * 3 / 2);
    for (const QChar qch : key) {
        const char16_t ch = qch.unicode();
        if (ch == '/') {
            spelled += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
                   || ch == '-' || ch == '.') {
            spelled += char(ch);
        } else if (ch <= 0xFF) {
            spelled += '%';
            spelled += hexDigit(ch >> 4);
            spelled += hexDigit(ch);
        } else {
            spelled += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                spelled += hexDigit(ch >> shift);
        }
    }
    return spelled;
}

QString sectionPrefix(QByteArrayView name)
{
    const QByteArrayView trimmed = name.trimmed();
    if (trimmed.compare("general", Qt::CaseInsensitive) == 0)
        return QString();
    if (trimmed.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(trimmed.sliced(1)) + u'/';
    return decodeKey(trimmed) + u'/';
}

QByteArray sectionHeader(const QString &name)
{
    const QByteArray spelled = encodeKey(name);
    if (spelled.isEmpty())
        return QByteArrayLiteral("[General]");
    if (spelled.compare("general", Qt::CaseInsensitive) == 0)
        return QByteArrayLiteral("[%General]");
    return '[' + spelled + ']';
}

Value decodeValue(QByteArrayView spelled)
{
    QString text;
    text.reserve(spelled.size());
    bool inQuotes = false;
    bool quoted = false;
    // Blanks after the last escape or quote are the line's own, not the value's.
    qsizetype keepUpTo = 0;
    qsizetype i = 0;
    const qsizetype size = spelled.size();
    const auto skipBlanks = [&] {
        while (i < size && (spelled.at(i) == ' ' || spelled.at(i) == '\t'))
            ++i;
        keepUpTo = text.size();
    };

    skipBlanks();
    while (i < size) {
        const char ch = spelled.at(i);
        if (ch == '\\') {
            ++i;
            if (i >= size)
                break; // a lone "\" at the end stands for nothing
            const char code = spelled.at(i++);
            switch (code) {
            case 'a': text += u'\a'; break;
            case 'b': text += u'\b'; break;
            case 'f': text += u'\f'; break;
            case 'n': text += u'\n'; break;
            case 'r': text += u'\r'; break;
            case 't': text += u'\t'; break;
            case 'v': text += u'\v'; break;
            case '"':
            case '?':
            case '\'':
            case '\\':
                text += QLatin1Char(code);
                break;
            case 'x':
                if (i < size && hexValue(uchar(spelled.at(i))) >= 0) {
                    char16_t value = 0;
                    while (i < size && hexValue(uchar(spelled.at(i))) >= 0)
                        value = char16_t(value * 16 + hexValue(uchar(spelled.at(i++))));
                    text += QChar(value);
                }
                break;
            default:
                if (isOctal(code)) {
                    char16_t value = char16_t(code - '0');
                    while (i < size && isOctal(spelled.at(i)))
                        value = char16_t(value * 8 + (spelled.at(i++) - '0'));
                    text += QChar(value);
                }
                // Any other escaped character stands for nothing.
                break;
            }
            keepUpTo = text.size();
        } else if (ch == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (ch == ',' && !inQuotes) {
            return {}; // a list of texts
        } else {
            qsizetype end = i + 1;
            while (end < size && spelled.at(end) != '\\' && spelled.at(end) != '"' && spelled.at(end) != ',')
                ++end;
            text += decodeBytes(spelled.sliced(i, end - i));
            i = end;
        }
    }
    if (!quoted) {
        qsizetype end = text.size();
        while (end > keepUpTo && (text.at(end - 1) == u' ' || text.at(end - 1) == u'\t'))
            --end;
        text.truncate(end);
    }
    return typedValue(text);
}

QByteArray encodeText(const QString &value)
{
    QString text = value;
    if (text.contains(QChar(u'\0')))
        text = QStringLiteral("@String(") + text + u')';
    else if (text.startsWith(u'@'))
        text.prepend(u'@');

    QByteArray spelled;
    spelled.reserve(text.size() + 2);
    bool needsQuotes = false;
    // After \0 and \xNN escapes a hex digit would be read as part of them.
    bool escapeHexDigit = false;
    qsizetype plainStart = 0;
    const auto flushPlain = [&](qsizetype end) {
        if (end > plainStart)
            spelled += PathCodec::encode(text.sliced(plainStart, end - plainStart));
        plainStart = end + 1;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text.at(i).unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeHexDigit && hexValue(ch) >= 0) {
            flushPlain(i);
            spelled += "\\x" + QByteArray::number(uint(ch), 16);
            continue;
        }
        escapeHexDigit = false;
        const char *escape = nullptr;
        switch (ch) {
        case '\0':
            escape = "\\0";
            escapeHexDigit = true;
            break;
        case '\a': escape = "\\a"; break;
        case '\b': escape = "\\b"; break;
        case '\f': escape = "\\f"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        case '\t': escape = "\\t"; break;
        case '\v': escape = "\\v"; break;
        case '"': escape = "\\\""; break;
        case '\\': escape = "\\\\"; break;
        default: break;
        }
        if (escape) {
            flushPlain(i);
            spelled += escape;
        } else if (ch <= 0x1F) {
            flushPlain(i);
            spelled += "\\x" + QByteArray::number(uint(ch), 16);
            escapeHexDigit = true;
        }
    }
    flushPlain(text.size());

    if (needsQuotes || spelled.startsWith(' ') || spelled.endsWith(' '))
        return '"' + spelled + '"';
    return spelled;
}

} // namespace IniSyntax
