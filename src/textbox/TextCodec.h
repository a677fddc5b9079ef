#pragma once

#include "textbox/LineEnds.h"
#include "textbox/TextEncoding.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a document remembers of the file it came from beside its text.
struct TextFormat
{
    TextEncoding encoding = TextEncoding::Utf8;
    // The file's main line end: the one a new line gets.
    LineEnd lineEnd = LineEnd::Lf;
    // Whether a save ends the text with a line end when it does not end in one already: a
    // file that ended without one keeps ending without one. An empty text gets none.
    bool finalLineEnd = true;

    bool operator==(const TextFormat &) const = default;
};

struct DecodedText
{
    QString text; // as the file holds it, every line end as it was
    TextFormat format;
};

// Bytes to text and back. A file that begins with a UTF-16 byte-order mark is UTF-16; valid
// UTF-8 is UTF-8 (a byte-order mark is remembered), and so is UTF-8 with a few bytes that are
// part of no sequence, each such byte read as a character of its own and written back as
// that byte (the path codec's scheme); other bytes are Windows-1252 with every byte kept, so
// all 256 byte values come back as they were. Line ends are text like any other: nothing is
// converted either way.
namespace TextCodec {

DecodedText decode(const QByteArray &bytes);
// The bytes of text (its line ends as they stand) in format, with the main line end added
// at the end where the format asks for one; nothing when the encoding cannot hold a
// character of the text.
std::optional<QByteArray> encode(const QString &text, const TextFormat &format);
// The bytes of text in encoding and nothing more (no byte-order mark, no line end added);
// nothing when the encoding cannot hold a character of it.
std::optional<QByteArray> encodeText(QStringView text, TextEncoding encoding);
// Appends the bytes of text in encoding to out; false, and out as it was, when the encoding
// cannot hold a character of it.
bool appendEncoded(QByteArray &out, QStringView text, TextEncoding encoding);
// How many bytes appendEncoded makes of text (which encoding can hold).
qint64 encodedSize(QStringView text, TextEncoding encoding);
// Where the first character of text stands that encoding cannot hold (a character outside
// Windows-1252; in UTF-8 a lone surrogate that stands for no byte); nothing when it holds
// them all.
std::optional<qsizetype> firstUnencodable(QStringView text, TextEncoding encoding);
// Bytes of a file in encoding to text, without the file's byte-order mark (which lies before
// them). validUtf8: the bytes are known to be valid UTF-8, so no byte needs looking at.
QString toText(QByteArrayView bytes, TextEncoding encoding, bool validUtf8 = false);
// The byte-order mark a file in encoding begins with; empty for none.
QByteArrayView byteOrderMark(TextEncoding encoding);
// Whether both encodings write every character alike (UTF-8 with and without its mark).
bool writesAlike(TextEncoding a, TextEncoding b);
// Every line end (CR LF, a lone CR, U+2029, ...) turned into "\n", the one line break of the
// text box, so that text put in reads back as the lines it shows.
QString withPlainLineBreaks(const QString &text);
QString encodingName(TextEncoding encoding);

// Windows-1252, the five bytes the code page leaves undefined read as the control characters
// of the same value.
QString fromWindows1252(QByteArrayView bytes);

} // namespace TextCodec
