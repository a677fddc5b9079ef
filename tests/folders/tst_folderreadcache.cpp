#include "folders/FolderReadCache.h"
#include "folders/FolderReader.h"
#include "folders/FolderWatch.h"
#include "folders/NamePattern.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <functional>

using Change = std::function<void(TestDir &)>;
Q_DECLARE_METATYPE(Change)

// The cache over real folders: whether a list gets an earlier read (the very same names
// object) or a new one is what the panes' "one read for many lists" rests on.
class TestFolderReadCache : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void twoListsOnOneFolderReadOnce_data();
    void twoListsOnOneFolderReadOnce();
    void changeSeenByTheWatchReadsAgain_data();
    void changeSeenByTheWatchReadsAgain();
    void untrustedWatchReadsAgain();
    void stepServesItsOwnRead();
    void openingReadServesTheFiles();
    void leastRecentlyUsedFolderGoes();

private:
    QString folder() const { return m_dir->filePath(QStringLiteral("folder")); }

    std::unique_ptr<TestDir> m_dir;
};

void TestFolderReadCache::init()
{
    failOnUnexpectedWarnings();
    m_dir = std::make_unique<TestDir>();
    for (const char *name : {"folder/a.txt", "folder/B.txt", "folder/c.htm", "folder/sub/x.txt", "outside.txt"})
        m_dir->createFile(QString::fromLatin1(name));
    FolderWatch watch;
    FolderReader::fileNames(folder(), NamePattern(), &watch);
    if (watch.mayHaveChanged(folder()))
        QSKIP("the temporary folder's file system is not watched here");
}

void TestFolderReadCache::cleanup()
{
    m_dir.reset();
}

void TestFolderReadCache::twoListsOnOneFolderReadOnce_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("every file twice") << "" << "" << QStringList{"a.txt", "B.txt", "c.htm"};
    QTest::newRow("every file, then a pattern that keeps all") << "" << "*.*" << QStringList{"a.txt", "B.txt", "c.htm"};
    QTest::newRow("one pattern twice") << "*.txt" << "*.txt" << QStringList{"a.txt", "B.txt"};
}

void TestFolderReadCache::twoListsOnOneFolderReadOnce()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QStringList, listed);
    FolderReadCache cache;
    const FileNames one = cache.files(folder(), NamePattern(first));
    const FileNames two = cache.files(folder(), NamePattern(second));
    QCOMPARE(two.toStringList(), listed);
    QVERIFY(two.sharesWith(one));
    QCOMPARE(cache.folders(folder()), QStringList{"sub"});
    QVERIFY(cache.folders(folder()).constData() == cache.folders(folder()).constData());

    // Another cache knows nothing of this one's reads.
    FolderReadCache other;
    QVERIFY(!other.files(folder(), NamePattern(second)).sharesWith(one));
}

void TestFolderReadCache::changeSeenByTheWatchReadsAgain_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("a file added") << Change([](TestDir &dir) { dir.createFile(QStringLiteral("folder/d.txt")); })
                                  << QStringList{"a.txt", "B.txt", "c.htm", "d.txt"} << QStringList{"sub"};
    QTest::newRow("a file removed") << Change([](TestDir &dir) { QFile::remove(dir.filePath(QStringLiteral("folder/a.txt"))); })
                                    << QStringList{"B.txt", "c.htm"} << QStringList{"sub"};
    QTest::newRow("a file renamed") << Change([](TestDir &dir) {
        QFile::rename(dir.filePath(QStringLiteral("folder/c.htm")), dir.filePath(QStringLiteral("folder/e.htm")));
    }) << QStringList{"a.txt", "B.txt", "e.htm"} << QStringList{"sub"};
    QTest::newRow("a folder added") << Change([](TestDir &dir) { dir.createDir(QStringLiteral("folder/new")); })
                                    << QStringList{"a.txt", "B.txt", "c.htm"} << QStringList{"new", "sub"};
}

void TestFolderReadCache::changeSeenByTheWatchReadsAgain()
{
    QFETCH(Change, change);
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    FolderReadCache cache;
    const QStringList foldersBefore = cache.openFolder(folder());
    const FileNames before = cache.files(folder(), NamePattern());
    const FileNames matchingBefore = cache.files(folder(), NamePattern(QStringLiteral("*")));
    change(*m_dir);
    const FileNames after = cache.files(folder(), NamePattern());
    QVERIFY(!after.sharesWith(before));
    QCOMPARE(after.toStringList(), files);
    QCOMPARE(cache.files(folder(), NamePattern(QStringLiteral("*"))).toStringList(), files);
    QCOMPARE(cache.folders(folder()), folders);
    // The new read is trusted in its turn.
    QVERIFY(cache.files(folder(), NamePattern()).sharesWith(after));
    QCOMPARE(before.size(), 3); // what lists hold of the earlier read stays as it was
    QCOMPARE(foldersBefore, QStringList{"sub"});
}

void TestFolderReadCache::untrustedWatchReadsAgain()
{
    // A link's target may change with no change of the folder itself: the listing is never trusted.
    const QString target = m_dir->filePath(QStringLiteral("outside.txt"));
    QVERIFY(QFile::link(target, folder() + QStringLiteral("/link.txt")));
    FolderReadCache cache;
    const FileNames first = cache.files(folder(), NamePattern());
    QCOMPARE(first.toStringList(), (QStringList{"a.txt", "B.txt", "c.htm", "link.txt"}));
    const FileNames second = cache.files(folder(), NamePattern());
    QVERIFY(!second.sharesWith(first));
    QVERIFY(QFile::remove(target)); // the link now leads nowhere: no regular file
    QCOMPARE(cache.files(folder(), NamePattern()).toStringList(), (QStringList{"a.txt", "B.txt", "c.htm"}));
}

void TestFolderReadCache::stepServesItsOwnRead()
{
    QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("outside.txt")), folder() + QStringLiteral("/link.txt")));
    FolderReadCache cache;
    FileNames inStep;
    {
        const FolderReadCache::Step step(cache);
        inStep = cache.files(folder(), NamePattern());
        {
            const FolderReadCache::Step nested(cache);
            QVERIFY(cache.files(folder(), NamePattern()).sharesWith(inStep));
        }
        QVERIFY(cache.files(folder(), NamePattern()).sharesWith(inStep)); // the outer step goes on
    }
    // After the step the untrusted listing is read again, also when a later read was trusted.
    QVERIFY(!cache.files(folder(), NamePattern()).sharesWith(inStep));
    {
        const FolderReadCache::Step step(cache);
        QCOMPARE(cache.files(folder(), NamePattern(QStringLiteral("*.txt"))).size(), 3); // link.txt too
        QVERIFY(QFile::remove(folder() + QStringLiteral("/link.txt")));
        // A read the watch trusts; what the step kept of the first still is not.
        QCOMPARE(cache.files(folder(), NamePattern()).size(), 3);
    }
    QCOMPARE(cache.files(folder(), NamePattern(QStringLiteral("*.txt"))).toStringList(), (QStringList{"a.txt", "B.txt"}));
    QCOMPARE(cache.files(folder(), NamePattern()).toStringList(), (QStringList{"a.txt", "B.txt", "c.htm"}));
}

void TestFolderReadCache::openingReadServesTheFiles()
{
    FolderReadCache cache;
    {
        const FolderReadCache::Step step(cache);
        QCOMPARE(cache.openFolder(folder()), QStringList{"sub"});
        // Made after the opening read: within its step the file lists take that read.
        m_dir->createFile(QStringLiteral("folder/later.txt"));
        QCOMPARE(cache.files(folder(), NamePattern(QStringLiteral("*.txt"))).toStringList(),
                 (QStringList{"a.txt", "B.txt"}));
        QCOMPARE(cache.files(folder(), NamePattern()).size(), 3);
    }
    // Outside the step the watch has seen the new file.
    QCOMPARE(cache.files(folder(), NamePattern(QStringLiteral("*.txt"))).toStringList(),
             (QStringList{"a.txt", "B.txt", "later.txt"}));
}

void TestFolderReadCache::leastRecentlyUsedFolderGoes()
{
    const QString sub = folder() + QStringLiteral("/sub");
    FolderReadCache cache(2);
    const FileNames first = cache.files(folder(), NamePattern());
    cache.files(sub, NamePattern());
    QVERIFY(cache.files(folder(), NamePattern()).sharesWith(first)); // two folders fit
    cache.files(m_dir->path(), NamePattern()); // a third: sub, used least recently, goes
    QVERIFY(cache.files(folder(), NamePattern()).sharesWith(first));
    const FileNames subAgain = cache.files(sub, NamePattern());
    QCOMPARE(subAgain.toStringList(), QStringList{"x.txt"});
    cache.files(m_dir->path(), NamePattern());
    QVERIFY(!cache.files(folder(), NamePattern()).sharesWith(first)); // now folder went
    // An empty path is no folder: nothing is read or kept.
    QVERIFY(cache.files(QString(), NamePattern()).isEmpty());
    QVERIFY(cache.folders(QString()).isEmpty());
}

QTEST_GUILESS_MAIN(TestFolderReadCache)
#include "tst_folderreadcache.moc"
