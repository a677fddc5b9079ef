// The line ends kept beside the text box's lines, through the edits the box makes.

#include "editor/LineEndRecord.h"
#include "editor/TextScan.h"
#include "editor/TextSlicer.h"
#include "support/TestCase.h"

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <functional>

namespace {

// A box holding a file's text as a load puts it there.
struct LoadedBox
{
    QPlainTextEdit box;
    LineEndRecord *record;
    TextFormat format;

    explicit LoadedBox(const QByteArray &bytes) : record(new LineEndRecord(box.document()))
    {
        TextScan scan;
        scan.add(bytes);
        TextSlicer slicer(scan.encoding());
        // In two slices, as a load appends them.
        const qsizetype half = bytes.size() / 2;
        record->append(slicer.add(QByteArrayView(bytes).first(half)));
        record->append(slicer.add(QByteArrayView(bytes).sliced(half)));
        record->append(slicer.finish());
        format = slicer.format();
    }
    QTextCursor at(int position, int length = 0)
    {
        QTextCursor cursor(box.document());
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        return cursor;
    }
    int lineStart(int line) { return box.document()->findBlockByNumber(line).position(); }
    int lineEnd(int line)
    {
        const QTextBlock block = box.document()->findBlockByNumber(line);
        return block.position() + block.length() - 1;
    }
    QByteArray saved() { return record->fileText(format.lineEnd).toUtf8(); }
};

using Edit = std::function<void(LoadedBox &)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class LineEndRecordTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void editsChangeOnlyTheLinesTheyTouch_data();
    void editsChangeOnlyTheLinesTheyTouch();
    void randomEditsKeepTheRecordInStep();
};

void LineEndRecordTest::editsChangeOnlyTheLinesTheyTouch_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QByteArray>("saved");
    // Lines 0 to 3 end in CR LF, LF, CR and CR LF; CR LF is the main line end.
    QTest::newRow("no edit") << Edit([](LoadedBox &) {}) << QByteArray("one\r\ntwo\nthree\rfour\r\n");
    QTest::newRow("typing in line 1") << Edit([](LoadedBox &b) { b.at(b.lineEnd(1)).insertText("X"); })
                                      << QByteArray("one\r\ntwoX\nthree\rfour\r\n");
    QTest::newRow("Enter in line 1") << Edit([](LoadedBox &b) { b.at(b.lineStart(1) + 2).insertBlock(); })
                                     << QByteArray("one\r\ntw\r\no\nthree\rfour\r\n");
    QTest::newRow("Delete at the end of line 1") << Edit([](LoadedBox &b) { b.at(b.lineEnd(1)).deleteChar(); })
                                                 << QByteArray("one\r\ntwothree\rfour\r\n");
    QTest::newRow("Backspace at the start of line 2")
        << Edit([](LoadedBox &b) { b.at(b.lineStart(2)).deletePreviousChar(); })
        << QByteArray("one\r\ntwothree\rfour\r\n");
    QTest::newRow("line 1 removed with its break")
        << Edit([](LoadedBox &b) { b.at(b.lineStart(1), b.lineStart(2) - b.lineStart(1)).removeSelectedText(); })
        << QByteArray("one\r\nthree\rfour\r\n");
    QTest::newRow("line 1's break and line 2 removed")
        << Edit([](LoadedBox &b) { b.at(b.lineEnd(1), b.lineEnd(2) - b.lineEnd(1)).removeSelectedText(); })
        << QByteArray("one\r\ntwo\rfour\r\n");
    QTest::newRow("typing over lines 0 to 2")
        << Edit([](LoadedBox &b) { b.at(2, b.lineStart(2) + 2 - 2).insertText("Y"); })
        << QByteArray("onYree\rfour\r\n");
    QTest::newRow("pasting two lines into line 1")
        << Edit([](LoadedBox &b) { b.at(b.lineStart(1)).insertText("p\nq"); })
        << QByteArray("one\r\np\r\nqtwo\nthree\rfour\r\n");
    QTest::newRow("a line added at the end") << Edit([](LoadedBox &b) { b.at(b.lineStart(4)).insertText("five\n"); })
                                             << QByteArray("one\r\ntwo\nthree\rfour\r\nfive\r\n");
    QTest::newRow("undo of an edit elsewhere") << Edit([](LoadedBox &b) {
        b.at(b.lineEnd(0)).insertText("!");
        b.box.document()->undo();
    }) << QByteArray("one\r\ntwo\nthree\rfour\r\n");
    // Undo puts the break back as a new one.
    QTest::newRow("undo of a removed break") << Edit([](LoadedBox &b) {
        b.at(b.lineEnd(1)).deleteChar();
        b.box.document()->undo();
    }) << QByteArray("one\r\ntwo\r\nthree\rfour\r\n");
    QTest::newRow("the whole text replaced") << Edit([](LoadedBox &b) { b.box.setPlainText("x\ny"); })
                                             << QByteArray("x\r\ny");
}

void LineEndRecordTest::editsChangeOnlyTheLinesTheyTouch()
{
    QFETCH(Edit, edit);
    QFETCH(QByteArray, saved);
    LoadedBox loaded("one\r\ntwo\nthree\rfour\r\n");
    QCOMPARE(loaded.format.lineEnd, LineEnd::CrLf);
    // The undo stack starts after the load.
    loaded.box.document()->clearUndoRedoStacks();
    edit(loaded);
    QCOMPARE(loaded.saved(), saved);
}

// Each edit is checked against a plain model of the text in which each line end is a
// character: what an edit removes goes, what it adds is new.
void LineEndRecordTest::randomEditsKeepTheRecordInStep()
{
    LoadedBox loaded("a\r\nbb\ncc\rdd\r\nee\nf\rg\r\nh\n");
    QString text = loaded.box.document()->toRawText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    std::vector<std::optional<LineEnd>> ends;
    for (int line = 0; line + 1 < loaded.box.document()->blockCount(); ++line)
        ends.push_back(loaded.record->lineEnd(line));
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

        const auto breaksBefore = [&](int at) { return text.first(at).count(QLatin1Char('\n')); };
        const qsizetype first = breaksBefore(position);
        const qsizetype removed = text.sliced(position, length).count(QLatin1Char('\n'));
        ends.erase(ends.begin() + first, ends.begin() + first + removed);
        ends.insert(ends.begin() + first, size_t(added.count(QLatin1Char('\n'))), std::nullopt);
        text.replace(position, length, added);

        loaded.at(position, length).insertText(added);
        QCOMPARE(loaded.box.document()->blockCount() - 1, int(ends.size()));
        for (int line = 0; line < int(ends.size()); ++line)
            QVERIFY2(loaded.record->lineEnd(line) == ends[size_t(line)],
                     qPrintable(QStringLiteral("step %1, line %2").arg(step).arg(line)));
    }
}

QTEST_MAIN(LineEndRecordTest)
#include "tst_lineendrecord.moc"
