// Edits of the text's lines checked against a plain model: random replaces, line starts asked
// between edits in a text of many lines, and long lines broken, joined and typed into, each
// undone back to the file's bytes.

#include "TextLinesModel.h"
#include "support/TestCase.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

class TextLinesRandomTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void randomEditsKeepTheLineEndsInStep();
    void randomEditsAgreeWithAPlainModel_data();
    void randomEditsAgreeWithAPlainModel();
    void positionsInALongText();
    void longLinesBreakJoinAndTakeTyping();
};

// Each edit is checked against a plain model of the text in which each line end is a
// character: what an edit removes goes, what it adds is new.
void TextLinesRandomTest::randomEditsKeepTheLineEndsInStep()
{
    Loaded loaded("a\r\nbb\ncc\rdd\r\nee\nf\rg\r\nh\n");
    QString text = loaded.lines.text();
    std::vector<End> ends;
    for (qsizetype line = 0; line + 1 < loaded.lines.lineCount(); ++line)
        ends.push_back(loaded.lines.lineEnd(line));
    QCOMPARE(ends.size(), size_t(8));

    QRandomGenerator random(30);
    const QString pieces[] = {QStringLiteral("x"), QStringLiteral("\n"), QStringLiteral("yz"), QStringLiteral("\n\n")};
    for (int step = 0; step < 400; ++step) {
        const int position = random.bounded(int(text.size()) + 1);
        const int length = random.bounded(std::min<int>(6, int(text.size()) - position) + 1);
        QString added;
        for (int n = random.bounded(3); n > 0; --n)
            added += pieces[random.bounded(4)];
        // Keep the text from growing without end.
        if (text.size() > 60 && added.size() > length)
            added.clear();

        const qsizetype first = text.first(position).count(QLatin1Char('\n'));
        const qsizetype removed = text.sliced(position, length).count(QLatin1Char('\n'));
        ends.erase(ends.begin() + first, ends.begin() + first + removed);
        ends.insert(ends.begin() + first, size_t(added.count(QLatin1Char('\n'))), std::nullopt);
        text.replace(position, length, added);

        loaded.lines.replace(position, position + length, added);
        QCOMPARE(loaded.lines.lineCount() - 1, qsizetype(ends.size()));
        for (qsizetype line = 0; line < qsizetype(ends.size()); ++line)
            QVERIFY2(loaded.lines.lineEnd(line) == ends[size_t(line)],
                     qPrintable(QStringLiteral("step %1, line %2").arg(step).arg(line)));
    }
}

void TextLinesRandomTest::randomEditsAgreeWithAPlainModel_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("UTF-8, every line end") << QByteArray("a\r\nbb\ncc\rdd\xE2\x80\xA9\xC3\xA9\xF0\x9F\x98\x80"
                                                         "\xEF\xB7\x90" "f\xEF\xB7\x91g\r\n") << quint32(1);
    QTest::newRow("UTF-8 with BOM, no final end") << QByteArray("\xEF\xBB\xBFx\r\ny\r\n\r\n\xEF\xBB\xBFz")
                                                  << quint32(2);
    QTest::newRow("Windows-1252") << QByteArray("caf\xE9\r\n\x80\x81\r\x9F\n\n\r") << quint32(3);
    QTest::newRow("empty file") << QByteArray() << quint32(4);
}

// Random edits, each compared with the model, and now and then undone a few at a time: each
// undo gives back the bytes the file had before the edit it undoes.
void TextLinesRandomTest::randomEditsAgreeWithAPlainModel()
{
    QFETCH(QByteArray, bytes);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    Loaded loaded(bytes);
    QCOMPARE(loaded.saved(), bytes);
    Model model{loaded.lines.text(), {}};
    for (qsizetype line = 0; line + 1 < loaded.lines.lineCount(); ++line)
        model.ends.push_back(loaded.lines.lineEnd(line));
    compareWithModel(loaded.lines, model, random);
    if (QTest::currentTestFailed())
        return;

    QStringList pieces{"x", "\n", "yz", "\n\n", QStringLiteral("\u00E9"), QStringLiteral("\u20AC")};
    if (loaded.read.format.encoding != TextEncoding::Windows1252)
        pieces << QStringLiteral("\U0001F600") << QStringLiteral("\u4E2D\n");
    const LineEnd givenEnds[] = {LineEnd::CrLf, LineEnd::Lf, LineEnd::Cr, LineEnd::ParagraphSeparator};

    struct Done
    {
        qint64 position;
        qint64 insertedSize;
        std::vector<End> insertedEnds;
        TextLines::Removed removed;
        Model before;
        QByteArray bytesBefore;
    };
    std::vector<Done> done;
    const auto undo = [&] {
        const Done last = done.back();
        done.pop_back();
        const TextLines::Removed redo = loaded.lines.replace(last.position, last.position + last.insertedSize,
                                                             last.removed.text, last.removed.ends);
        QCOMPARE(redo.text.size(), last.insertedSize);
        QVERIFY(redo.ends == last.insertedEnds);
        QCOMPARE(loaded.saved(), last.bytesBefore);
        model = last.before;
    };

    for (int step = 0; step < 300; ++step) {
        const QString &text = model.text;
        const qint64 from = offPair(text, random.bounded(int(text.size()) + 1));
        const qint64 to = std::max(from, offPair(text, from + random.bounded(std::min<int>(6, int(text.size() - from)) + 1)));
        QString added;
        for (int n = random.bounded(3); n > 0; --n)
            added += pieces[random.bounded(int(pieces.size()))];
        if (text.size() > 80 && added.size() > to - from)
            added.clear();
        // Some breaks come with an end of their own, the rest take the main one.
        std::vector<End> given;
        for (qsizetype n = random.bounded(int(added.count(QLatin1Char('\n'))) + 1); n > 0; --n)
            given.push_back(random.bounded(2) ? End(givenEnds[random.bounded(4)]) : End());
        std::vector<End> addedEnds = given;
        addedEnds.resize(size_t(added.count(QLatin1Char('\n'))));

        Done record{from, added.size(), addedEnds, {}, model, loaded.saved()};
        const qsizetype first = text.first(from).count(QLatin1Char('\n'));
        const qsizetype removedBreaks = text.sliced(from, to - from).count(QLatin1Char('\n'));
        const std::vector<End> removedEnds(model.ends.begin() + first, model.ends.begin() + first + removedBreaks);
        const QString removedText = text.sliced(from, to - from);
        model.ends.erase(model.ends.begin() + first, model.ends.begin() + first + removedBreaks);
        model.ends.insert(model.ends.begin() + first, addedEnds.begin(), addedEnds.end());
        model.text.replace(from, to - from, added);

        record.removed = loaded.lines.replace(from, to, added, given);
        QCOMPARE(record.removed.text, removedText);
        QVERIFY(record.removed.ends == removedEnds);
        done.push_back(std::move(record));
        compareWithModel(loaded.lines, model, random);
        if (QTest::currentTestFailed()) {
            qInfo("at step %d", step);
            return;
        }

        if (random.bounded(4) == 0) {
            for (int n = random.bounded(1, 4); n > 0 && !done.empty(); --n) {
                undo();
                if (!QTest::currentTestFailed())
                    compareWithModel(loaded.lines, model, random);
                if (QTest::currentTestFailed()) {
                    qInfo("at an undo after step %d", step);
                    return;
                }
            }
        }
    }
    while (!done.empty()) {
        undo();
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(loaded.saved(), bytes);
    compareWithModel(loaded.lines, model, random);
}

// Line starts are worked out as far as asked and again after an edit: questions near and far,
// between edits anywhere in a text of many lines, against starts counted afresh each time.
void TextLinesRandomTest::positionsInALongText()
{
    QByteArray bytes;
    const char *const ends[] = {"\r\n", "\n", "\r"};
    for (int i = 0; i < 5000; ++i)
        bytes += QByteArray(i % 7, 'x') + QByteArray::number(i) + ends[i % 3];
    Loaded loaded(bytes);
    QCOMPARE(loaded.saved(), bytes);
    QString text = loaded.lines.text();
    QRandomGenerator random(5);
    for (int step = 0; step < 100; ++step) {
        std::vector<qint64> starts{0};
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('\n'))
                starts.push_back(i + 1);
        }
        QCOMPARE(loaded.lines.lineCount(), qsizetype(starts.size()));
        // Now and then every line's start and break in turn, each the first position of the next
        // line not worked out yet.
        if (step % 10 == 0) {
            for (qsizetype line = 0; line < qsizetype(starts.size()); ++line) {
                QCOMPARE(loaded.lines.lineAt(starts[size_t(line)]), line);
                if (line > 0)
                    QCOMPARE(loaded.lines.lineAt(starts[size_t(line)] - 1), line - 1);
            }
        }
        for (int n = 0; n < 40; ++n) {
            const qint64 position = random.bounded(int(text.size()) + 1);
            const auto after = std::upper_bound(starts.begin(), starts.end(), position);
            QCOMPARE(loaded.lines.lineAt(position), qsizetype(after - starts.begin()) - 1);
            const qsizetype line = random.bounded(int(starts.size()));
            QCOMPARE(loaded.lines.lineStart(line), starts[size_t(line)]);
        }
        const qint64 from = random.bounded(int(text.size()) + 1);
        const qint64 to = std::min<qint64>(text.size(), from + random.bounded(30));
        QCOMPARE(loaded.lines.text(from, to), text.sliced(from, to - from));
        const QString added = random.bounded(2) ? QStringLiteral("a\nb") : QString();
        loaded.lines.replace(from, to, added);
        text.replace(from, to - from, added);
    }
    QCOMPARE(loaded.lines.text(), text);
    QCOMPARE(loaded.lines.characterCount(), text.size());
}

// Lines far longer than a screen, read from a file: typed into, broken near their start, their
// middle and their end, joined again either way round and cut across, each edit checked against
// the model, and all of it undone back to the file's bytes.
void TextLinesRandomTest::longLinesBreakJoinAndTakeTyping()
{
    QByteArray bytes;
    for (int line = 0; line < 3; ++line) {
        for (int word = 0; bytes.size() < (line + 1) * 90000; ++word)
            bytes += "w" + QByteArray::number(word % 977) + (word % 9 ? " " : "\xC3\xA9 ");
        bytes += line == 1 ? "\r\n" : "\n";
    }
    Loaded loaded(bytes);
    QCOMPARE(loaded.saved(), bytes);
    Model model{loaded.lines.text(), {}};
    for (qsizetype line = 0; line + 1 < loaded.lines.lineCount(); ++line)
        model.ends.push_back(loaded.lines.lineEnd(line));
    QRandomGenerator random(11);
    struct Done
    {
        qint64 position;
        qint64 insertedSize;
        TextLines::Removed removed;
    };
    std::vector<Done> done;
    for (int step = 0; step < 40; ++step) {
        const QString &text = model.text;
        // Mostly within a line, near its start or its end or anywhere; now and then a join.
        const qsizetype line = random.bounded(int(loaded.lines.lineCount()));
        const qint64 start = loaded.lines.lineStart(line);
        const qint64 length = loaded.lines.lineLength(line);
        const qint64 at[] = {start + random.bounded(int(length) / 50 + 1), start + length - random.bounded(int(length) / 50 + 1),
                             start + random.bounded(int(length) + 1)};
        qint64 from = offPair(text, at[random.bounded(3)]);
        const int kind = random.bounded(5);
        qint64 to = from;
        QString added;
        if (kind == 0)
            added = QStringLiteral("x");
        else if (kind == 1)
            added = QStringLiteral("\n");
        else if (kind == 2)
            added = QStringLiteral("pasted\nlines\n");
        else if (kind == 3 && line + 1 < loaded.lines.lineCount()) {
            from = start + length;
            to = from + 1;
        }
        else
            to = offPair(text, std::min<qint64>(text.size(), from + random.bounded(200000)));
        const qsizetype first = text.first(from).count(QLatin1Char('\n'));
        const qsizetype removedBreaks = text.sliced(from, to - from).count(QLatin1Char('\n'));
        model.ends.erase(model.ends.begin() + first, model.ends.begin() + first + removedBreaks);
        model.ends.insert(model.ends.begin() + first, size_t(added.count(QLatin1Char('\n'))), End());
        const QString removedText = text.sliced(from, to - from);
        model.text.replace(from, to - from, added);
        done.push_back({from, added.size(), loaded.lines.replace(from, to, added)});
        QCOMPARE(done.back().removed.text, removedText);
        QCOMPARE(loaded.lines.text(), model.text);
        const QStringList modelLines = model.lines();
        QCOMPARE(loaded.lines.lineCount(), modelLines.size());
        qint64 lineStart = 0;
        for (qsizetype i = 0; i < modelLines.size(); ++i) {
            QCOMPARE(loaded.lines.lineStart(i), lineStart);
            QCOMPARE(loaded.lines.lineLength(i), modelLines[i].size());
            QCOMPARE(loaded.lines.line(i), modelLines[i]);
            QVERIFY(i + 1 == modelLines.size() || loaded.lines.lineEnd(i) == model.ends[size_t(i)]);
            lineStart += modelLines[i].size() + 1;
        }
        QCOMPARE(loaded.lines.lineAt(model.text.size()), modelLines.size() - 1);
    }
    while (!done.empty()) {
        const Done last = done.back();
        done.pop_back();
        loaded.lines.replace(last.position, last.position + last.insertedSize, last.removed.text, last.removed.ends);
    }
    QCOMPARE(loaded.saved(), bytes);
}

QTEST_GUILESS_MAIN(TextLinesRandomTest)
#include "tst_textlinesrandom.moc"
