// The gap buffer and the partitioning under the line index and the row counts, against plain
// vectors: edits near one another, then far away, in both directions.

#include "textbox/Partitioning.h"
#include "textbox/SplitVector.h"
#include "support/TestCase.h"

#include <QRandomGenerator>
#include <QTest>

#include <numeric>
#include <vector>

namespace {

// Where the next edit goes: mostly near the one before, now and then anywhere.
qsizetype nextPlace(QRandomGenerator &random, qsizetype before, qsizetype size, bool nearby)
{
    if (size == 0)
        return 0;
    if (nearby && random.bounded(8) != 0)
        return std::clamp<qsizetype>(before + random.bounded(-3, 4), 0, size);
    return random.bounded(int(size) + 1);
}

void compareVectors(SplitVector<int> &split, const std::vector<int> &plain)
{
    QCOMPARE(split.size(), plain.size());
    QCOMPARE(split.empty(), plain.empty());
    QVERIFY(split.capacity() >= split.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        if (split[i] != plain[i])
            QFAIL(qPrintable(QStringLiteral("element %1 is %2, not %3").arg(i).arg(split[i]).arg(plain[i])));
    }
    if (!plain.empty())
        QCOMPARE(split.back(), plain.back());
    // The stretches hold every element once, in order.
    const size_t from = plain.size() / 3;
    const size_t to = plain.size() - plain.size() / 4;
    std::vector<int> stretched;
    split.forEachStretch(from, to, [&](int *first, int *last) { stretched.insert(stretched.end(), first, last); });
    QVERIFY(std::equal(stretched.begin(), stretched.end(), plain.begin() + qsizetype(from), plain.begin() + qsizetype(to)));
    QCOMPARE(stretched.size(), to - from);
}

void compareParts(const Partitioning<qint64> &parts, const std::vector<qint64> &lengths)
{
    const qsizetype count = qsizetype(lengths.size());
    QCOMPARE(parts.count(), count);
    qint64 start = 0;
    for (qsizetype part = 0; part < count; ++part) {
        if (parts.start(part) != start)
            QFAIL(qPrintable(QStringLiteral("part %1 starts at %2, not %3").arg(part).arg(parts.start(part)).arg(start)));
        QCOMPARE(parts.length(part), lengths[size_t(part)]);
        start += lengths[size_t(part)];
    }
    QCOMPARE(parts.total(), start);
    if (count == 0)
        return;
    // The last part beginning at or before each place, before the start and past the end too.
    qsizetype expected = 0;
    qint64 partStart = 0;
    for (qint64 position = -2; position <= start + 2; ++position) {
        while (expected + 1 < count && partStart + lengths[size_t(expected)] <= position)
            partStart += lengths[size_t(expected++)];
        if (parts.partAt(position) != expected)
            QFAIL(qPrintable(QStringLiteral("%1 is in part %2, not %3").arg(position).arg(parts.partAt(position)).arg(expected)));
    }
}

} // namespace

class PartitioningTest : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void splitVectorAgreesWithAVector_data();
    void splitVectorAgreesWithAVector();
    void partitioningAgreesWithPlainLengths_data();
    void partitioningAgreesWithPlainLengths();
};

void PartitioningTest::splitVectorAgreesWithAVector_data()
{
    QTest::addColumn<bool>("nearby");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("edits anywhere") << false << quint32(1);
    QTest::newRow("edits near each other, now and then far") << true << quint32(2);
}

// Inserts and removals of one and of many, a reserve or a shrink now and then.
void PartitioningTest::splitVectorAgreesWithAVector()
{
    QFETCH(bool, nearby);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    SplitVector<int> split(5, 7);
    std::vector<int> plain(5, 7);
    qsizetype place = 0;
    int next = 0;
    for (int step = 0; step < 600; ++step) {
        place = nextPlace(random, place, qsizetype(plain.size()), nearby);
        const int choice = random.bounded(12);
        if (choice < 4) {
            const size_t count = size_t(random.bounded(1, 5));
            split.insert(size_t(place), count, ++next);
            plain.insert(plain.begin() + place, count, next);
        } else if (choice < 6) {
            std::vector<int> values(size_t(random.bounded(0, 40)));
            std::iota(values.begin(), values.end(), ++next);
            next += int(values.size());
            split.insert(size_t(place), values.begin(), values.end());
            plain.insert(plain.begin() + place, values.begin(), values.end());
        } else if (choice < 9) {
            const size_t count = std::min(plain.size() - size_t(place), size_t(random.bounded(0, 6)));
            split.erase(size_t(place), count);
            plain.erase(plain.begin() + place, plain.begin() + place + qsizetype(count));
        } else if (choice < 10 && !plain.empty()) {
            const size_t at = size_t(random.bounded(int(plain.size())));
            split[at] = plain[at] = ++next;
        } else if (choice < 11) {
            split.push_back(++next);
            plain.push_back(next);
        } else if (random.bounded(2) == 0) {
            split.reserve(plain.size() + size_t(random.bounded(200)));
        } else {
            split.shrink_to_fit();
        }
        compareVectors(split, plain);
        if (QTest::currentTestFailed()) {
            qInfo("at step %d", step);
            return;
        }
    }
    split.clear();
    plain.clear();
    compareVectors(split, plain);
    split.assign(3, 4);
    compareVectors(split, {4, 4, 4});
}

void PartitioningTest::partitioningAgreesWithPlainLengths_data()
{
    QTest::addColumn<qsizetype>("parts");
    QTest::addColumn<bool>("nearby");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("few parts, anywhere") << qsizetype(3) << false << quint32(1);
    QTest::newRow("many parts, anywhere") << qsizetype(300) << false << quint32(2);
    QTest::newRow("many parts, near each other") << qsizetype(300) << true << quint32(3);
    QTest::newRow("none at first") << qsizetype(0) << true << quint32(4);
}

// Lengths changed, parts inserted and removed, as edits of lines do, with empty parts too.
void PartitioningTest::partitioningAgreesWithPlainLengths()
{
    QFETCH(qsizetype, parts);
    QFETCH(bool, nearby);
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    Partitioning<qint64> partitioning;
    compareParts(partitioning, {});
    std::vector<qint64> lengths;
    for (qsizetype part = 0; part < parts; ++part)
        lengths.push_back(random.bounded(0, 5));
    partitioning.assign(parts, [&](qsizetype part) { return lengths[size_t(part)]; });
    qsizetype place = 0;
    for (int step = 0; step < 400; ++step) {
        const qsizetype count = qsizetype(lengths.size());
        place = nextPlace(random, place, count, nearby);
        const int choice = random.bounded(10);
        if (choice < 4 && place < count) {
            const qint64 length = random.bounded(0, 9);
            if (random.bounded(2) == 0)
                partitioning.setLength(place, length);
            else
                partitioning.changeLength(place, length - lengths[size_t(place)]);
            lengths[size_t(place)] = length;
        } else if (choice < 7) {
            std::vector<qint64> added(size_t(random.bounded(0, 4)));
            for (qint64 &length : added)
                length = random.bounded(0, 6);
            partitioning.insert(place, qsizetype(added.size()), [&](qsizetype i) { return added[size_t(i)]; });
            lengths.insert(lengths.begin() + place, added.begin(), added.end());
        } else {
            const qsizetype removed = std::min<qsizetype>(count - place, random.bounded(0, 4));
            partitioning.remove(place, removed);
            lengths.erase(lengths.begin() + place, lengths.begin() + place + removed);
        }
        compareParts(partitioning, lengths);
        if (QTest::currentTestFailed()) {
            qInfo("at step %d", step);
            return;
        }
    }
}

QTEST_GUILESS_MAIN(PartitioningTest)
#include "tst_partitioning.moc"
