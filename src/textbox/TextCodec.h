#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How a text file's bytes stand for its text.
enum class TextEncoding { Utf8, Utf8WithBom, Windows1252 };
// Every way a line can end that the text box shows as a line break. U+FDD0 and U+FDD1 are
// characters the box takes for breaks of its own; a file that holds them keeps them.
enum class LineEnd : quint8 { CrLf, Lf, Cr, ParagraphSeparator, Fdd0, Fdd1 };

// What a document remembers of the file it came from beside its text.
struct TextFormat
{
    TextEncoding encoding = TextEncoding::Utf8;
    // The file's main line end: the one a new line gets.
    LineEnd lineEnd = LineEnd::Lf;
    // Whether a save ends the text with a line end when it does not end in one already: a
    // file that ended without one keeps ending without one.
    bool finalLineEnd = true;

    bool operator==(const TextFormat &) const = default;
};

struct DecodedText
{
    QString text; // as the file holds it, every line end as it was
    TextFormat format;
};

// Bytes to text and back. Valid UTF-8 is read as UTF-8 (a byte-order mark is remembered), any
// other bytes as Windows-1252 with every byte kept, so all 256 byte values come back as they
// were. Line ends are text like any other: nothing is converted either way.
namespace TextCodec {

DecodedText decode(const QByteArray &bytes);
// The bytes of text (its line ends as they stand) in format, with the main line end added
// at the end where the format asks for one; nothing when the encoding cannot hold a
// character of the text.
std::optional<QByteArray> encode(const QString &text, const TextFormat &format);
// The bytes of text in encoding and nothing more (no byte-order mark, no line end added);
// nothing when the encoding cannot hold a character of it.
std::optional<QByteArray> encodeText(QStringView text, TextEncoding encoding);
// Where the first character of text stands that encoding cannot hold (a character outside
// Windows-1252, or a lone surrogate, which no encoding holds); nothing when it holds them all.
std::optional<qsizetype> firstUnencodable(const QString &text, TextEncoding encoding);
// Every CR LF and lone CR turned into "\n", the one line break of the text box.
QString withPlainLineBreaks(const QString &text);
QString encodingName(TextEncoding encoding);

// Windows-1252, the five bytes the code page leaves undefined read as the control characters
// of the same value.
QString fromWindows1252(QByteArrayView bytes);
// The characters a line end stands for.
QStringView lineEndText(LineEnd lineEnd);
// The line end whose first character is ch ("\r" counts as a lone CR), if ch begins one.
std::optional<LineEnd> lineEndStartingWith(QChar ch);

} // namespace TextCodec
