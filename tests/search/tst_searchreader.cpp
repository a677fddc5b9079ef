#include "search/HeldReads.h"
#include "search/SearchReader.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QFile>
#include <QTest>

#include <sys/stat.h>

namespace {
using FolderReader::FolderId;

const NamePattern everything(QStringLiteral("*"), NamePattern::Parts::Whole);

// The next read, once the reader has it (events run meanwhile, so its wake-up comes).
std::optional<FolderRead> nextRead(SearchReader &reader)
{
    std::optional<FolderRead> read;
    if (!QTest::qWaitFor([&] { return (read = reader.take()).has_value(); }, 10 * 1000))
        return std::nullopt;
    return read;
}

QString nextFolder(SearchReader &reader)
{
    const std::optional<FolderRead> read = nextRead(reader);
    return read ? read->folder : QStringLiteral("(none)");
}

DescentFolder listed(const QString &folder)
{
    struct stat info;
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
        return DescentFolder{folder, std::nullopt};
    return DescentFolder{folder, FolderId{quint64(info.st_dev), quint64(info.st_ino)}};
}
} // namespace

// The walk's reader on its own: the order of its reads, its end, its restarts and how far it
// may run ahead of the walk.
class TestSearchReader : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void readsInWalkOrderToTheEnd_data();
    void readsInWalkOrderToTheEnd();
    void restartDropsWhatWasReadAhead();
    void restartFromNothingIsTheEnd();
    void seenFolderIsNotReadAgain();
    void wakesTheWalkWhenAReadComes();
    void readAheadIsBounded_data();
    void readAheadIsBounded();
};

void TestSearchReader::readsInWalkOrderToTheEnd_data()
{
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QStringList>("expected"); // "" for the top

    QTest::newRow("with subfolders: depth first, in sorted order")
        << true << QStringList{"", "a", "a/x", "a/y", "B"};
    QTest::newRow("without: the top alone") << false << QStringList{""};
}

void TestSearchReader::readsInWalkOrderToTheEnd()
{
    QFETCH(bool, subfolders);
    QFETCH(QStringList, expected);
    TestDir tree;
    for (const char *folder : {"a/x", "a/y", "B"})
        tree.createDir(QLatin1String(folder));
    tree.createFile(QStringLiteral("a/x/f.txt"));
    HeldReads log;
    SearchReader reader(tree.path(), everything, log.read());
    reader.restart({DescentFolder{tree.path(), std::nullopt}}, SeenFolders(), subfolders);

    // Every read is ready before the first is taken; the end comes with the last one taken.
    QVERIFY(QTest::qWaitFor([&] { return log.count() == expected.size(); }));
    QStringList taken;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QVERIFY(!reader.finished());
        const std::optional<FolderRead> read = nextRead(reader);
        QVERIFY(read);
        QCOMPARE(read->descended, subfolders);
        taken << (read->folder == tree.path() ? QString() : read->folder.mid(tree.path().size() + 1));
        if (read->folder.endsWith(QStringLiteral("/x")))
            QCOMPARE(read->entries.files, QStringList{QStringLiteral("f.txt")});
        // The subfolders it goes on to come with the ids their listing saw.
        for (const DescentFolder &sub : read->subfolders)
            QCOMPARE(sub.listed, listed(sub.path).listed);
    }
    QCOMPARE(taken, expected);
    QVERIFY(reader.finished());
    QVERIFY(!reader.take());
    QVERIFY(reader.finished());
    QCOMPARE(log.count(), expected.size());
}

void TestSearchReader::restartDropsWhatWasReadAhead()
{
    TestDir tree;
    for (const char *folder : {"a/in", "b", "c", "d"})
        tree.createDir(QLatin1String(folder));
    // b is read, but its read does not return until the restart is over.
    HeldReads log(QStringLiteral("b"));
    SearchReader reader(tree.path(), everything, log.read());
    reader.restart({DescentFolder{tree.path(), std::nullopt}}, SeenFolders(), true);
    QCOMPARE(nextFolder(reader), tree.path());
    QVERIFY(QTest::qWaitFor([&] { return log.started().endsWith(tree.filePath(QStringLiteral("b"))); }));

    // The walk did not go into a (its read, and a/in's, ready by now, are dropped), and goes on
    // from d without subfolders.
    reader.restart({listed(tree.filePath(QStringLiteral("d")))}, SeenFolders(), false);
    QVERIFY(!reader.finished());
    log.release();
    QCOMPARE(nextFolder(reader), tree.filePath(QStringLiteral("d")));
    QVERIFY(reader.finished());
    QVERIFY(!reader.take());
}

void TestSearchReader::restartFromNothingIsTheEnd()
{
    TestDir tree;
    tree.createDir(QStringLiteral("a"));
    HeldReads log(QStringLiteral("a"));
    SearchReader reader(tree.path(), everything, log.read());
    reader.restart({DescentFolder{tree.path(), std::nullopt}}, SeenFolders(), true);
    QCOMPARE(nextFolder(reader), tree.path());
    // a's read is held: take() finds nothing and arms the wake-up. The walk then ends there
    // (Exit, say), and a restart from nothing is the end of the reads.
    QVERIFY(!reader.take());
    QVERIFY(!reader.finished());
    reader.restart({}, SeenFolders(), true);
    QVERIFY(reader.finished());
    log.release();
    QTest::qWait(50);
    QVERIFY(!reader.take());
    QVERIFY(reader.finished());
}

void TestSearchReader::seenFolderIsNotReadAgain()
{
    TestDir tree;
    tree.createFile(QStringLiteral("a/f.txt"));
    const DescentFolder a = listed(tree.filePath(QStringLiteral("a")));
    HeldReads log;
    SearchReader reader(tree.path(), everything, log.read());
    reader.restart({a, DescentFolder{tree.path(), std::nullopt}}, SeenFolders{{a.listed->device, a.listed->inode}},
                   false);

    const std::optional<FolderRead> top = nextRead(reader);
    QVERIFY(top);
    QCOMPARE(top->entries.folders, QStringList{QStringLiteral("a")});
    // a was searched already (a bind mount shows it twice, say): opened, not read.
    const std::optional<FolderRead> again = nextRead(reader);
    QVERIFY(again);
    QCOMPARE(again->folder, a.path);
    QVERIFY(again->entries.opened);
    QVERIFY(!again->entries.read);
    QVERIFY(again->entries.files.isEmpty());
    QVERIFY(reader.finished());
}

void TestSearchReader::wakesTheWalkWhenAReadComes()
{
    TestDir tree;
    tree.createDir(QStringLiteral("held"));
    HeldReads log(QStringLiteral("held"));
    int wakeUps = 0;
    SearchReader reader(tree.path(), everything, log.read(), [&wakeUps] { ++wakeUps; });
    reader.restart({listed(tree.filePath(QStringLiteral("held")))}, SeenFolders(), false);
    QVERIFY(QTest::qWaitFor([&] { return log.count() == 1; }));

    // Nothing yet: the reader calls back once the read is there, not before.
    QVERIFY(!reader.take());
    QTest::qWait(50);
    QCOMPARE(wakeUps, 0);
    QVERIFY(!reader.finished());
    log.release();
    QVERIFY(QTest::qWaitFor([&] { return wakeUps == 1; }));
    QVERIFY(reader.take());
    QVERIFY(reader.finished());
}

void TestSearchReader::readAheadIsBounded_data()
{
    QTest::addColumn<int>("maxFolders");
    QTest::addColumn<int>("maxNames");
    QTest::addColumn<int>("filesEach"); // in each of the top's 20 subfolders
    // After 0, 1, 2, ... reads taken: how many folders the reader has read, once it waits.
    QTest::addColumn<QList<int>>("reads");

    // 8 ready, and on again at 6: two taken let it read two more.
    QTest::newRow("folders") << 8 << 1000 << 0 << QList<int>{8, 8, 10, 10, 12};
    // The top's 20 names alone pass 10, yet it is read; then two folders of 6 fill the room,
    // and the reader goes on once no more than 7 names wait.
    QTest::newRow("names, a larger folder read all the same") << 1000 << 10 << 6 << QList<int>{1, 3, 4, 5};
}

void TestSearchReader::readAheadIsBounded()
{
    QFETCH(int, maxFolders);
    QFETCH(int, maxNames);
    QFETCH(int, filesEach);
    QFETCH(QList<int>, reads);
    TestDir tree;
    for (int i = 0; i < 20; ++i) {
        const QString folder = QStringLiteral("sub%1").arg(i, 2, 10, QLatin1Char('0'));
        tree.createDir(folder);
        for (int file = 0; file < filesEach; ++file)
            tree.createFile(folder + QStringLiteral("/f%1").arg(file));
    }
    HeldReads log;
    SearchReader reader(tree.path(), everything, log.read(), {}, SearchReadAhead{size_t(maxFolders), maxNames});
    reader.restart({DescentFolder{tree.path(), std::nullopt}}, SeenFolders(), true);

    for (qsizetype taken = 0; taken < reads.size(); ++taken) {
        if (taken > 0)
            QVERIFY(reader.take());
        const qsizetype expected = reads.at(taken);
        QVERIFY2(QTest::qWaitFor([&] { return log.count() >= expected; }),
                 qPrintable(QStringLiteral("%1 reads after %2 taken").arg(log.count()).arg(taken)));
        // It stays there while the walk takes nothing more.
        QTest::qWait(100);
        QCOMPARE(log.count(), expected);
    }
}

QTEST_MAIN(TestSearchReader)
#include "tst_searchreader.moc"
