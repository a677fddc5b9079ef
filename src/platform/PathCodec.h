#pragma once

#include <QByteArray>
#include <QString>

// File names on Linux are bytes; the rest of the program works with QString. This codec turns
// one into the other exactly: valid UTF-8 becomes its characters, and every byte that is not
// part of valid UTF-8 becomes a lone surrogate U+DC80..U+DCFF, which encodes back to that byte.
// A name read from a listing therefore reaches the system calls as the very bytes it had.
//
// Every path that goes to or comes from the system passes through here, never through
// QFile::encodeName (which turns an invalid byte into U+FFFD: the name of another file).
namespace PathCodec {

QString decode(const char *bytes, qsizetype size);
QString decode(const QByteArray &bytes);
QByteArray encode(const QString &path);

// The length of the valid UTF-8 sequence that bytes (size of them) begin with, 1 for ASCII; 0
// where they begin with none, and decode makes the first byte a character of its own.
// Overlong forms, UTF-16 surrogates and code points above U+10FFFF are not valid.
int utf8SequenceLength(const uchar *bytes, qsizetype size);

// True when path holds a character that stands for a byte of no valid UTF-8.
bool hasRawBytes(const QString &path);
// The text to show for a path or name: each raw byte drawn as the replacement mark U+FFFD.
QString displayText(const QString &path);

// The program's current folder, decoded like every other path (QDir::currentPath() would turn
// a raw byte into U+FFFD); empty when it cannot be read.
QString currentFolder();

} // namespace PathCodec
