#pragma once

#include "textbox/TextEncoding.h"

#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <optional>

// Every way a line can end that the text box shows as a line break. U+FDD0 and U+FDD1 are
// characters the box takes for breaks of its own; a file that holds them keeps them.
enum class LineEnd : quint8 { CrLf, Lf, Cr, ParagraphSeparator, Fdd0, Fdd1 };

// The one table of line ends (LineEnds.cpp): each end's characters and its UTF-8 bytes; the
// forms in the other encodings come from the characters. The scan of a file being loaded, the
// line finder and the codec all read it, so that they agree on what ends a line.
namespace LineEnds {

// The characters end stands for.
QStringView text(LineEnd end);
// The bytes of end in encoding; empty where the encoding cannot write it (U+2029 in
// Windows-1252), so such bytes end no line of a file in it either.
QByteArrayView bytes(LineEnd end, TextEncoding encoding);

// A line end found in a file's bytes, and how many bytes it takes.
struct Found
{
    LineEnd end;
    qsizetype size;
};
// For each byte value, whether a line end in encoding may begin with it: a search of the bytes
// looks closer only there.
const std::array<bool, 256> &firstBytes(TextEncoding encoding);
// The line end that bytes begin with in encoding, the longest that fits (CR LF before a lone
// CR); nothing when they begin with none.
std::optional<Found> at(QByteArrayView bytes, TextEncoding encoding);

// Whether some line end begins with the character ch.
bool mayBeginWith(char32_t ch);
// The end that is ch alone ("\r" is a lone CR); nothing when no end begins with ch.
std::optional<LineEnd> startingWith(char32_t ch);
// Whether second right after first makes both one end (LF after CR): a count of line breaks
// counts the pair once.
bool joins(char32_t first, char32_t second);

} // namespace LineEnds
