// The rows each line of the text box takes and their sums, against a plain list of rows.

#include "textbox/RowCounts.h"
#include "support/TestCase.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// Every question RowCounts answers, each worked out from the plain list.
void compareWithModel(const RowCounts &counts, const std::vector<int> &rows)
{
    const qsizetype lineCount = qsizetype(rows.size());
    QCOMPARE(counts.lineCount(), lineCount);
    qint64 before = 0;
    for (qsizetype line = 0; line < lineCount; ++line) {
        QCOMPARE(counts.rows(line), rows[size_t(line)]);
        QCOMPARE(counts.rowsBefore(line), before);
        for (int row = 0; row < rows[size_t(line)]; ++row) {
            const RowCounts::Place place = counts.placeOf(before + row);
            if (place.line != line || place.row != row)
                QFAIL(qPrintable(QStringLiteral("row %1 is at line %2, row %3, not line %4, row %5")
                                     .arg(before + row).arg(place.line).arg(place.row).arg(line).arg(row)));
        }
        before += rows[size_t(line)];
    }
    QCOMPARE(counts.rowsBefore(lineCount), before);
    QCOMPARE(counts.total(), before);
    // Past the end is the last row of the last line.
    for (const qint64 past : {before, before + 1, before + 1000}) {
        const RowCounts::Place place = counts.placeOf(past);
        QCOMPARE(place.line, lineCount - 1);
        QCOMPARE(place.row, rows.back() - 1);
    }
}

} // namespace

class RowCountsTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void aResetLineHasOneRow_data();
    void aResetLineHasOneRow();
    void randomChangesAgreeWithAPlainList_data();
    void randomChangesAgreeWithAPlainList();
};

void RowCountsTest::aResetLineHasOneRow_data()
{
    QTest::addColumn<qsizetype>("lines");
    QTest::newRow("one line") << qsizetype(1);
    QTest::newRow("a power of two") << qsizetype(64);
    QTest::newRow("one past a power of two") << qsizetype(65);
    QTest::newRow("many") << qsizetype(1000);
}

void RowCountsTest::aResetLineHasOneRow()
{
    QFETCH(qsizetype, lines);
    RowCounts counts;
    counts.reset(lines + 7);
    counts.setRows(2, 9);
    counts.reset(lines);
    compareWithModel(counts, std::vector<int>(size_t(lines), 1));
}

void RowCountsTest::randomChangesAgreeWithAPlainList_data()
{
    QTest::addColumn<qsizetype>("lines");
    // Changes fall within this many lines of a place that moves anywhere every 25 of them; 0
    // for anywhere each time.
    QTest::addColumn<int>("spread");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("few lines") << qsizetype(3) << 0 << quint32(1);
    QTest::newRow("some lines") << qsizetype(40) << 0 << quint32(2);
    QTest::newRow("many lines") << qsizetype(700) << 0 << quint32(3);
    QTest::newRow("many lines, changes in bursts far apart") << qsizetype(700) << 6 << quint32(4);
}

// Lines laid out anew, lines replaced by others as edits do, now and then all of them reset.
void RowCountsTest::randomChangesAgreeWithAPlainList()
{
    QFETCH(qsizetype, lines);
    QFETCH(int, spread);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    RowCounts counts;
    counts.reset(lines);
    std::vector<int> rows(size_t(lines), 1);
    qsizetype burst = 0;
    for (int step = 0; step < 300; ++step) {
        const int choice = random.bounded(10);
        const qsizetype size = qsizetype(rows.size());
        if (step % 25 == 0)
            burst = random.bounded(int(size));
        // A line at random, or one near the burst's place.
        const auto lineUpTo = [&](qsizetype last) {
            if (spread == 0)
                return qsizetype(random.bounded(int(last) + 1));
            return std::clamp<qsizetype>(burst + random.bounded(-spread, spread + 1), 0, last);
        };
        if (choice < 5) {
            const qsizetype line = lineUpTo(size - 1);
            const int lineRows = random.bounded(1, 7);
            counts.setRows(line, lineRows);
            rows[size_t(line)] = lineRows;
        } else if (choice < 9) {
            const qsizetype first = lineUpTo(size);
            const qsizetype removed = random.bounded(int(std::min<qsizetype>(4, size - first)) + 1);
            // As many as were removed, now and then: the lines are only laid out anew.
            qsizetype added = random.bounded(3) == 0 ? removed : random.bounded(5);
            // A text has one line at least.
            if (size - removed + added == 0)
                added = 1;
            counts.replace(first, removed, added);
            rows.erase(rows.begin() + first, rows.begin() + first + removed);
            rows.insert(rows.begin() + first, size_t(added), 1);
        } else {
            const qsizetype count = random.bounded(1, int(lines) * 2 + 1);
            counts.reset(count);
            rows.assign(size_t(count), 1);
        }
        compareWithModel(counts, rows);
        if (QTest::currentTestFailed()) {
            qInfo("at step %d", step);
            return;
        }
    }
}

QTEST_GUILESS_MAIN(RowCountsTest)
#include "tst_rowcounts.moc"
