#pragma once

// What the tests of the text's lines share: a file's bytes loaded as the load does, and a plain
// model of the text that every answer of the lines is checked against.

#include "textbox/LineEnds.h"
#include "textbox/TextLines.h"
#include "textbox/TextScan.h"

#include <QRandomGenerator>
#include <QTest>

using End = TextLines::End;

// A file's text as the scan and the load read it.
struct Loaded
{
    TextLines::Read read;
    TextLines &lines = read.lines;

    explicit Loaded(const QByteArray &bytes) : read(TextLines::fromBytes(bytes, encodingOf(bytes))) {}

    static TextEncoding encodingOf(const QByteArray &bytes)
    {
        TextScan scan;
        scan.add(bytes);
        return scan.encoding();
    }
    // The bytes a save writes.
    QByteArray saved() const
    {
        return TextCodec::encode(lines.fileText(read.format.lineEnd), read.format).value_or("(cannot encode)");
    }
    qint64 lineStart(qsizetype line) const { return lines.lineStart(line); }
    // Where the line break after line stands.
    qint64 lineBreak(qsizetype line) const { return lines.lineStart(line) + lines.lineLength(line); }
};

// The characters a line ends in, none for the last line.
inline QString endText(End end)
{
    return end ? LineEnds::text(*end).toString() : QString();
}

// The plain view of the text: "\n" for every break, and beside it the end of each break.
struct Model
{
    QString text;
    std::vector<End> ends;

    QStringList lines() const { return text.split(QLatin1Char('\n')); }
    QString fileText(LineEnd main) const
    {
        const QStringList all = lines();
        QString out;
        for (qsizetype i = 0; i < all.size(); ++i) {
            out += all[i];
            if (i + 1 == all.size())
                break;
            LineEnd end = ends[size_t(i)].value_or(main);
            // CR, then LF would read back as one line end.
            if (end == LineEnd::Lf && out.endsWith(QLatin1Char('\r')))
                end = LineEnd::CrLf;
            out += LineEnds::text(end);
        }
        return out;
    }
};

// Compares every question lines answers with the model; random picks the spans text() is
// asked for.
inline void compareWithModel(const TextLines &lines, const Model &model, QRandomGenerator &random)
{
    const qint64 size = model.text.size();
    QCOMPARE(lines.text(), model.text);
    QCOMPARE(lines.characterCount(), size);
    const QStringList modelLines = model.lines();
    QCOMPARE(lines.lineCount(), modelLines.size());
    qint64 start = 0;
    for (qsizetype i = 0; i < modelLines.size(); ++i) {
        QCOMPARE(lines.line(i), modelLines[i]);
        QCOMPARE(lines.lineLength(i), modelLines[i].size());
        QCOMPARE(lines.lineStart(i), start);
        const bool last = i + 1 == modelLines.size();
        QVERIFY2(last ? !lines.lineEnd(i) : lines.lineEnd(i) == model.ends[size_t(i)],
                 qPrintable(QStringLiteral("line %1").arg(i)));
        start += modelLines[i].size() + 1;
    }
    // A break belongs to the line it ends; past the end is the last line.
    qsizetype line = 0;
    for (qint64 position = 0; position <= size; ++position) {
        QCOMPARE(lines.lineAt(position), line);
        if (position < size && model.text.at(position) == QLatin1Char('\n'))
            ++line;
    }
    QCOMPARE(lines.lineAt(size + 1), lines.lineCount() - 1);
    for (int n = 0; n < 12; ++n) {
        const qint64 from = random.bounded(int(size) + 1);
        const qint64 to = from + random.bounded(int(size - from) + 1);
        QCOMPARE(lines.text(from, to), model.text.sliced(from, to - from));
    }
    for (const LineEnd main : {LineEnd::CrLf, LineEnd::Cr})
        QCOMPARE(lines.fileText(main), model.fileText(main));
    // A save writes line by line what the codec writes of the whole file text.
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Utf8WithBom, TextEncoding::Windows1252,
                                        TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        for (const LineEnd main : {LineEnd::Lf, LineEnd::CrLf, LineEnd::ParagraphSeparator}) {
            for (const bool finalLineEnd : {false, true}) {
                const TextFormat format{encoding, main, finalLineEnd};
                const QString fileText = lines.fileText(main);
                const std::optional<QByteArray> whole = TextCodec::encode(fileText, format);
                QVERIFY2(lines.encode(format) == whole,
                         qPrintable(QStringLiteral("%1, main end %2, final end %3")
                                        .arg(TextCodec::encodingName(encoding)).arg(int(main)).arg(finalLineEnd)));
                const std::optional<TextLines::Unencodable> stop = lines.firstUnencodable(encoding, main);
                QCOMPARE(bool(stop), bool(TextCodec::firstUnencodable(fileText, encoding)));
            }
        }
    }
}

// position moved off the middle of a surrogate pair, so that no edit splits a character.
inline qint64 offPair(const QString &text, qint64 position)
{
    if (position > 0 && position < text.size() && text.at(position).isLowSurrogate()
        && text.at(position - 1).isHighSurrogate())
        return position - 1;
    return position;
}

