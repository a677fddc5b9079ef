#pragma once

#include "editor/TextCodec.h"

#include <QByteArrayView>
#include <QStringDecoder>

#include <array>
#include <vector>

// A stretch of a file's text as the text box takes it: every line end turned into the box's
// one line break, "\n", and the end it stood for noted beside it.
struct TextSlice
{
    QString text;
    // The end each "\n" of text stands for, in order.
    std::vector<LineEnd> lineEnds;
    // How many of the file's bytes it came from.
    qint64 bytes = 0;

    void append(const TextSlice &next);
    // Takes the text up to and with its last line break off the front, with the ends and the
    // bytes; an empty slice when the text holds no line break.
    TextSlice takeWholeLines();
    // The text as the file holds it.
    QString fileText() const;
};

// text with its line breaks (each the character lineBreak) replaced, in order, by the ends
// endOf(i) gives for break i.
template <typename EndOf>
QString withLineEnds(QStringView text, QChar lineBreak, EndOf endOf)
{
    QString out;
    // CR LF makes the text longer; most files have few of them or short enough lines.
    out.reserve(text.size() + text.size() / 8);
    size_t next = 0;
    qsizetype from = 0;
    for (qsizetype i = text.indexOf(lineBreak); i >= 0; i = text.indexOf(lineBreak, from)) {
        out += text.sliced(from, i - from);
        out += TextCodec::lineEndText(endOf(next++));
        from = i + 1;
    }
    out += text.sliced(from);
    return out;
}

// A file's bytes, piece by piece and in any pieces (a character or a CR LF may be cut between
// two), turned into slices of the text box's text. Which encoding reads them is known before
// (TextScan), so every piece is turned into text as it comes.
class TextSlicer
{
public:
    explicit TextSlicer(TextEncoding encoding);

    TextSlice add(QByteArrayView piece);
    // After the last piece: what was held back (a CR that might have begun a CR LF).
    TextSlice finish();
    // After finish(): the encoding, the line end the file uses most (CR LF wins a tie with
    // LF; LF when there is none) and whether the text ends in a line end.
    TextFormat format() const;

private:
    TextSlice split(const QString &text, bool last);

    TextEncoding m_encoding;
    QStringDecoder m_utf8;
    qsizetype m_bomLeft = 0;
    bool m_heldCr = false;
    bool m_endsInLineEnd = false;
    std::array<qint64, 6> m_counts{};
};
