#pragma once

#include "textbox/Partitioning.h"
#include "textbox/SplitVector.h"
#include "textbox/TextCodec.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The editor's text as lines. A file's lines stay the file's bytes, turned into text only when
// asked for, until an edit gives a line a text of its own: so a big file costs little more than
// its size. Each line keeps the end it had in the file. Positions count the text's characters
// (UTF-16 code units), a line break one, from 0 to characterCount(). The line table and the
// line starts keep a gap where the last edit was, so an edit costs its own size and the
// distance from the edit before, whatever the number of lines. The starts and the text of the
// last long line read are worked out when first asked for: one thread at a time reads it.
class TextLines
{
public:
    // The line end a line break takes when it has none of its own: the document's main one.
    using End = std::optional<LineEnd>;

    // One empty line.
    TextLines();
    // Text with "\n" for its line breaks, each taking the main line end.
    explicit TextLines(QStringView text);

    struct Read;
    // The lines of a file's bytes read in encoding (a byte-order mark is left out), with the
    // format they were found in; expectedLines, when known, saves growing the line table.
    // Files up to 4 GiB. Lines end where LineEnds finds an end in encoding.
    static Read fromBytes(QByteArray bytes, TextEncoding encoding, qint64 expectedLines = 0);

    qsizetype lineCount() const { return qsizetype(m_lines.size()); }
    QString line(qsizetype line) const;
    qint64 lineLength(qsizetype line) const { return m_lines[size_t(line)].length; }
    // The end after line: its own, or nothing for one that takes the main end (a break added
    // since the load, and the last line, which has none).
    End lineEnd(qsizetype line) const;

    qint64 characterCount() const;
    qint64 lineStart(qsizetype line) const;
    // The line position lies in; a line break belongs to the line it ends.
    qsizetype lineAt(qint64 position) const;

    // The text, line breaks as "\n".
    QString text() const;
    QString text(qint64 from, qint64 to) const;
    // The text as the file is to hold it: each line with its own end, main where it has none;
    // an empty line's LF right after a lone CR goes out as CR LF, so that it reads back.
    QString fileText(LineEnd main) const;

    // A character an encoding cannot hold: the line it stands on (counted from 0), with the
    // line's text (and end) and where in it the character is.
    struct Unencodable
    {
        qsizetype line = 0;
        QString text;
        qsizetype column = 0;
    };
    // The first character encoding cannot hold, main standing for the ends a line takes from
    // the document; nothing when it holds them all.
    std::optional<Unencodable> firstUnencodable(TextEncoding encoding, LineEnd main) const;
    // What a save writes: fileText(format.lineEnd) in format, as TextCodec::encode gives it,
    // but line by line, the lines that are still the file's bytes copied as they are; nothing
    // when the encoding cannot hold the text. TextEncoder gives the same in pieces.
    std::optional<QByteArray> encode(const TextFormat &format) const;
    // The bytes line has in the file, while it is still those bytes and encoding writes its
    // characters as the file's own encoding does; nothing otherwise.
    std::optional<QByteArrayView> fileBytes(qsizetype line, TextEncoding encoding) const;
    // The end written after line, before being the end written after the line before it:
    // its own, or main; an empty line's LF right after a lone CR goes out as CR LF.
    LineEnd endWritten(qsizetype line, LineEnd main, std::optional<LineEnd> before) const;

    // What a replace took out: enough to put it back as it was.
    struct Removed
    {
        QString text;
        // The end of each line break of text.
        std::vector<End> ends;
    };
    // Replaces the characters from..to by text ("\n" for line breaks, the i-th taking ends[i]
    // where given, the main end otherwise). The line that holds to keeps its own end: as if
    // every end were the characters it stands for.
    Removed replace(qint64 from, qint64 to, QStringView text, const std::vector<End> &ends = {});

private:
    // An end that stands for the main one, whichever it is at the time.
    static constexpr quint8 mainEnd = 0xFF;

    // Sixteen bytes a line: a big file's lines cost little beside its bytes.
    struct Line
    {
        // Where the line's bytes lie in m_bytes; for an edited line, where its text lies in m_own.
        quint32 from = 0;
        quint32 bytes = 0;
        qint32 length = 0;
        quint8 end = mainEnd;
        bool edited = false;
    };

    // A line with text of its own, put in a free place of m_own.
    Line ownLine(QString text, quint8 end);
    void dropOwnText(const Line &line);
    void appendLineTo(QString &out, qsizetype line) const;
    QString fileLine(const Line &line) const;
    // Whether line is still the file's bytes, and those bytes are what encoding would write.
    bool keepsFileBytes(qsizetype line, TextEncoding encoding) const;
    // m_starts holds the start of every line (worked out at the first question after a load).
    void knowStarts() const;
    // line's text, for the line to change in place: taken from it, or read.
    QString takeText(qsizetype line);
    // A line of text put in place of line, which has no line break in it.
    void replaceInLine(qsizetype line, qsizetype column, qsizetype removed, QStringView text, Removed &out);

    QByteArray m_bytes;
    TextEncoding m_encoding = TextEncoding::Utf8;
    // The file's bytes are UTF-8 throughout, with none outside a valid sequence.
    bool m_validUtf8 = true;
    SplitVector<Line> m_lines;
    // The texts of the edited lines, and the places among them that no line uses now.
    std::vector<QString> m_own;
    std::vector<quint32> m_freeOwn;
    // Where each line starts, each taking its length and its line break (the last one too).
    mutable Partitioning<qint64> m_starts;
    // The last line longer than keptDecoded read from the bytes, and its text.
    static constexpr qsizetype keptDecoded = 65536;
    mutable qsizetype m_decodedLine = -1;
    mutable QString m_decoded;
};

struct TextLines::Read
{
    TextLines lines;
    TextFormat format;
};
