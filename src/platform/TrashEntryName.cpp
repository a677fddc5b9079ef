#include "platform/TrashEntryName.h"

namespace {

constexpr qsizetype infoSuffixBytes = sizeof(TrashEntryName::infoSuffix) - 1;
// An "ending" longer than this is part of the name, not a type to keep.
constexpr qsizetype longestKeptEnding = 32;

// Where the ending starts ("photo.jpg" -> 5), or name.size() when there is none. A leading dot
// (".profile") marks a hidden file, not an ending.
qsizetype endingStart(const QByteArray &name)
{
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || name.size() - dot > longestKeptEnding)
        return name.size();
    return dot;
}

bool isUtf8Continuation(char byte)
{
    return (uchar(byte) & 0xC0) == 0x80;
}

// The first `bytes` bytes of text, shortened further so that no UTF-8 character is cut.
QByteArray cutAt(const QByteArray &text, qsizetype bytes)
{
    if (bytes >= text.size())
        return text;
    while (bytes > 0 && isUtf8Continuation(text.at(bytes)))
        --bytes;
    return text.left(bytes);
}

} // namespace

namespace TrashEntryName {

QByteArray candidate(const QByteArray &name, int attempt, int maxNameBytes)
{
    if (name.isEmpty() || attempt < 1)
        return {};
    const QByteArray counter = attempt == 1 ? QByteArray() : '.' + QByteArray::number(attempt);
    qsizetype split = endingStart(name);
    qsizetype room = maxNameBytes - infoSuffixBytes - counter.size() - (name.size() - split);
    if (room < 1) {
        // Even the ending alone is too long here: give it up and cut the whole name.
        split = name.size();
        room = maxNameBytes - infoSuffixBytes - counter.size();
    }
    if (room < 1)
        return {};
    const QByteArray stem = cutAt(name.left(split), room);
    if (stem.isEmpty())
        return {};
    return stem + counter + name.mid(split);
}

QByteArray infoText(const QByteArray &originalPath, const QDateTime &deleted)
{
    return "[Trash Info]\nPath=" + originalPath.toPercentEncoding("/") + "\nDeletionDate="
        + deleted.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() + '\n';
}

} // namespace TrashEntryName
