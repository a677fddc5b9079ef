#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// How a text file's bytes stand for its text.
enum class TextEncoding { Utf8, Utf8WithBom, Windows1252 };
enum class LineEnd { CrLf, Lf, Cr };

// What a document remembers of the file it came from, so that saving it unedited gives the
// same bytes back.
struct TextFormat
{
    TextEncoding encoding = TextEncoding::Utf8;
    LineEnd lineEnd = LineEnd::Lf;
    // Whether a save ends the text with a line end when it does not end in one already: a
    // file that ended without one keeps ending without one.
    bool finalLineEnd = true;

    bool operator==(const TextFormat &) const = default;
};

struct DecodedText
{
    QString text; // line breaks as "\n"
    TextFormat format;
};

// Bytes to text and back. Valid UTF-8 is read as UTF-8 (a byte-order mark is remembered), any
// other bytes as Windows-1252 with every byte kept, so all 256 byte values come back as they
// were. The dominant line end (CR LF, LF or CR) is remembered and written on save.
namespace TextCodec {

DecodedText decode(const QByteArray &bytes);
// The bytes of text (line breaks as "\n") in format; nothing when the encoding cannot hold a
// character of the text.
std::optional<QByteArray> encode(const QString &text, const TextFormat &format);
// Where the first character of text stands that encoding cannot hold (a character outside
// Windows-1252, or a lone surrogate, which no encoding holds); nothing when it holds them all.
std::optional<qsizetype> firstUnencodable(const QString &text, TextEncoding encoding);
// Every CR LF and lone CR turned into "\n", the one line break of the text box.
QString withPlainLineBreaks(const QString &text);
QString encodingName(TextEncoding encoding);

} // namespace TextCodec
