#include "platform/PathCodec.h"

#include <QStringDecoder>

#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr char16_t rawByteBase = 0xDC00; // a raw byte b >= 0x80 is U+DC00 + b
constexpr char16_t firstRawByte = 0xDC80;
constexpr char16_t lastRawByte = 0xDCFF;

bool isRawByte(char16_t unit)
{
    return unit >= firstRawByte && unit <= lastRawByte;
}

// A raw byte is a lone low surrogate: the decoder makes no high surrogate of its own, so one
// right after a high surrogate is the second half of a real character.
bool isRawByteAt(QStringView path, qsizetype i)
{
    return isRawByte(path.at(i).unicode()) && !(i > 0 && QChar::isHighSurrogate(path.at(i - 1).unicode()));
}

bool isContinuation(uchar byte)
{
    return (byte & 0xC0) == 0x80;
}

// Valid UTF-8 to text, every character kept: QString::fromUtf8 drops a byte-order mark at
// the start, which in a name or a line is a character like any other.
QString fromValidUtf8(const char *data, qsizetype size)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(data, size));
}

// The length of the valid UTF-8 sequence that starts at bytes[i], or 0 when none does there.
int validSequenceLength(const uchar *bytes, qsizetype size, qsizetype i)
{
    const uchar lead = bytes[i];
    const qsizetype left = size - i;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return left >= 2 && isContinuation(bytes[i + 1]) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !isContinuation(bytes[i + 1]) || !isContinuation(bytes[i + 2]))
            return 0;
        if (lead == 0xE0 && bytes[i + 1] < 0xA0)
            return 0; // overlong
        if (lead == 0xED && bytes[i + 1] >= 0xA0)
            return 0; // a surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !isContinuation(bytes[i + 1]) || !isContinuation(bytes[i + 2])
            || !isContinuation(bytes[i + 3]))
            return 0;
        if (lead == 0xF0 && bytes[i + 1] < 0x90)
            return 0; // overlong
        if (lead == 0xF4 && bytes[i + 1] >= 0x90)
            return 0; // above U+10FFFF
        return 4;
    }
    return 0;
}

// Appends a run of valid UTF-8. QString::fromUtf8 leaves out a byte-order mark at the start of
// what it reads; in a name it is a character like any other.
bool isAscii(const uchar *bytes, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] >= 0x80)
            return false;
    }
    return true;
}

} // namespace

namespace PathCodec {

QString decode(const char *data, qsizetype size)
{
    const auto *bytes = reinterpret_cast<const uchar *>(data);
    if (isAscii(bytes, size))
        return QString::fromLatin1(data, size);

    // Runs of valid UTF-8 go through Qt's decoder whole; each invalid byte becomes its escape.
    QString result;
    result.reserve(size);
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < size) {
        const int length = validSequenceLength(bytes, size, i);
        if (length > 0) {
            i += length;
            continue;
        }
        result += fromValidUtf8(data + runStart, i - runStart);
        result += QChar(char16_t(rawByteBase + bytes[i]));
        ++i;
        runStart = i;
    }
    result += fromValidUtf8(data + runStart, size - runStart);
    return result;
}

int utf8SequenceLength(const uchar *bytes, qsizetype size)
{
    return size > 0 ? validSequenceLength(bytes, size, 0) : 0;
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QByteArray encode(const QString &path)
{
    if (!hasRawBytes(path))
        return path.toUtf8();

    QByteArray result;
    result.reserve(path.size() * 3);
    qsizetype runStart = 0;
    const qsizetype size = path.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (!isRawByteAt(path, i))
            continue;
        result += QStringView(path).mid(runStart, i - runStart).toUtf8();
        result += char(path.at(i).unicode() - rawByteBase);
        runStart = i + 1;
    }
    result += QStringView(path).mid(runStart).toUtf8();
    return result;
}

bool hasRawBytes(const QString &path)
{
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (isRawByteAt(path, i))
            return true;
    }
    return false;
}

QString displayText(const QString &path)
{
    if (!hasRawBytes(path))
        return path;
    QString result = path;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (isRawByteAt(path, i))
            result[i] = QChar::ReplacementCharacter;
    }
    return result;
}

QString currentFolder()
{
    char *folder = ::getcwd(nullptr, 0);
    if (!folder)
        return QString();
    const QString result = decode(folder, qsizetype(std::strlen(folder)));
    std::free(folder);
    return result;
}

} // namespace PathCodec
