#include "folders/FolderDescent.h"
#include "folders/FolderReader.h"
#include "folders/NamePattern.h"
#include "platform/PathCodec.h"
#include "support/DeepChain.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QFile>
#include <QTest>

#include <climits>
#include <cstdio>
#include <functional>
#include <sys/stat.h>

namespace {
using FolderReader::FolderId;

std::optional<FolderId> idOf(const QString &path)
{
    struct stat info;
    if (::lstat(PathCodec::encode(path).constData(), &info) != 0)
        return std::nullopt;
    return FolderId{quint64(info.st_dev), quint64(info.st_ino)};
}

// folder below the top, with the id it has now, as its parent's listing would give it.
DescentFolder listed(const QString &folder)
{
    return DescentFolder{folder, idOf(folder)};
}

FolderReader::FolderEntries read(FolderDescent &descent, const DescentFolder &folder)
{
    return FolderReader::entries(descent, folder, NamePattern(QStringLiteral("*"), NamePattern::Parts::Whole),
                                 FolderReader::DotNames::List);
}

bool rename(const QString &from, const QString &to)
{
    return std::rename(PathCodec::encode(from).constData(), PathCodec::encode(to).constData()) == 0;
}

using Change = std::function<bool(TestDir &tree, TestDir &outside)>;
} // namespace

Q_DECLARE_METATYPE(Change)

// The folders of a walk opened from the top down, never through a link and only while each is
// the folder its parent's listing saw.
class TestFolderDescent : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void listsWhatItOpens();
    void refusesWhatTheListingDidNotSee_data();
    void refusesWhatTheListingDidNotSee();
    void onlyBelowTheTop_data();
    void onlyBelowTheTop();
    void keepsTheWayDownOpenWithinItsBound();
    void closedFolderOnTheWayIsCheckedAgain_data();
    void closedFolderOnTheWayIsCheckedAgain();
    void topIsReadAgainFromItsStart();
    void topMayBeALinkOrBeyondTheLongestPath();
};

void TestFolderDescent::listsWhatItOpens()
{
    TestDir tree;
    tree.createFile(QStringLiteral("a.txt"));
    tree.createFile(QStringLiteral("sub/b.txt"));
    tree.createDir(QStringLiteral("sub/deeper"));
    TestDir outside;
    QVERIFY(QFile::link(outside.path(), tree.filePath(QStringLiteral("link"))));
    FolderDescent descent(tree.path());

    const FolderReader::FolderEntries top = read(descent, DescentFolder{tree.path(), std::nullopt});
    QVERIFY(top.read);
    QCOMPARE(top.id, idOf(tree.path()));
    QCOMPARE(top.files, QStringList{QStringLiteral("a.txt")});
    // A link to a folder is not a subfolder; each subfolder comes with the id it has.
    QCOMPARE(top.folders, QStringList{QStringLiteral("sub")});
    QCOMPARE(top.folderIds, QList<FolderId>{*idOf(tree.filePath(QStringLiteral("sub")))});

    const FolderReader::FolderEntries sub =
        read(descent, DescentFolder{tree.filePath(QStringLiteral("sub")), top.folderIds.first()});
    QVERIFY(sub.read);
    QCOMPARE(sub.files, QStringList{QStringLiteral("b.txt")});
    QCOMPARE(sub.folders, QStringList{QStringLiteral("deeper")});
    QCOMPARE(descent.openCount(), 2);
}

void TestFolderDescent::refusesWhatTheListingDidNotSee_data()
{
    QTest::addColumn<Change>("change"); // done to tree/sub after its listing
    QTest::addColumn<bool>("opens");

    QTest::newRow("left as it was") << Change([](TestDir &, TestDir &) { return true; }) << true;
    QTest::newRow("moved away and back") << Change([](TestDir &tree, TestDir &) {
        return rename(tree.filePath(QStringLiteral("sub")), tree.filePath(QStringLiteral("was"))) &&
            rename(tree.filePath(QStringLiteral("was")), tree.filePath(QStringLiteral("sub")));
    }) << true;
    QTest::newRow("exchanged for a link to a folder outside") << Change([](TestDir &tree, TestDir &outside) {
        return rename(tree.filePath(QStringLiteral("sub")), tree.filePath(QStringLiteral("was"))) &&
            QFile::link(outside.path(), tree.filePath(QStringLiteral("sub")));
    }) << false;
    QTest::newRow("exchanged for a link to itself") << Change([](TestDir &tree, TestDir &) {
        return rename(tree.filePath(QStringLiteral("sub")), tree.filePath(QStringLiteral("was"))) &&
            QFile::link(QStringLiteral("was"), tree.filePath(QStringLiteral("sub")));
    }) << false;
    QTest::newRow("exchanged for a folder from outside") << Change([](TestDir &tree, TestDir &outside) {
        return rename(tree.filePath(QStringLiteral("sub")), tree.filePath(QStringLiteral("was"))) &&
            rename(outside.createDir(QStringLiteral("other")), tree.filePath(QStringLiteral("sub")));
    }) << false;
    QTest::newRow("exchanged for a file") << Change([](TestDir &tree, TestDir &) {
        return rename(tree.filePath(QStringLiteral("sub")), tree.filePath(QStringLiteral("was"))) &&
            !tree.createFile(QStringLiteral("sub")).isEmpty();
    }) << false;
    QTest::newRow("removed") << Change([](TestDir &tree, TestDir &) {
        return rename(tree.filePath(QStringLiteral("sub")), tree.filePath(QStringLiteral("was")));
    }) << false;
}

void TestFolderDescent::refusesWhatTheListingDidNotSee()
{
    QFETCH(Change, change);
    QFETCH(bool, opens);
    TestDir tree;
    tree.createFile(QStringLiteral("sub/inside.txt"));
    TestDir outside;
    outside.createFile(QStringLiteral("secret.txt"));
    outside.createFile(QStringLiteral("other/secret.txt"));
    FolderDescent descent(tree.path());
    const FolderReader::FolderEntries top = read(descent, DescentFolder{tree.path(), std::nullopt});
    QCOMPARE(top.folders, QStringList{QStringLiteral("sub")});

    QVERIFY(change(tree, outside));
    const FolderReader::FolderEntries sub =
        read(descent, DescentFolder{tree.filePath(QStringLiteral("sub")), top.folderIds.first()});

    QCOMPARE(sub.opened, opens);
    QCOMPARE(sub.files, opens ? QStringList{QStringLiteral("inside.txt")} : QStringList());
}

void TestFolderDescent::onlyBelowTheTop_data()
{
    QTest::addColumn<QString>("folder"); // "@" stands for the tree's path
    QTest::addColumn<bool>("opens");

    QTest::newRow("the top") << "@" << true;
    QTest::newRow("below it") << "@/sub" << true;
    QTest::newRow("a folder whose name begins like the top's") << "@-beside" << false;
    QTest::newRow("up and back down") << "@/sub/../sub" << false;
    QTest::newRow("through a dot") << "@/./sub" << false;
    QTest::newRow("a doubled slash") << "@//sub" << false;
    QTest::newRow("a folder elsewhere") << "/" << false;
    QTest::newRow("a relative path") << "sub" << false;
}

void TestFolderDescent::onlyBelowTheTop()
{
    QFETCH(QString, folder);
    QFETCH(bool, opens);
    TestDir tree;
    tree.createDir(QStringLiteral("sub"));
    TestDir beside;
    const QString besidePath = tree.path() + QStringLiteral("-beside");
    QVERIFY(QFile::link(beside.path(), besidePath));
    folder.replace(QLatin1Char('@'), tree.path());

    FolderDescent descent(tree.path());
    const bool opened = descent.open(DescentFolder{folder, std::nullopt}) >= 0;
    QFile::remove(besidePath);
    QCOMPARE(opened, opens);
}

void TestFolderDescent::keepsTheWayDownOpenWithinItsBound()
{
    // A chain ten deep with a branch at every level, opened depth first: down the chain, then
    // each branch on the way back up.
    TestDir tree;
    QString relative;
    QStringList chain;
    for (int level = 0; level < 10; ++level) {
        const QString in = relative.isEmpty() ? relative : relative + QLatin1Char('/');
        tree.createFile(in + QStringLiteral("branch/in.txt"));
        relative = in + QStringLiteral("level");
        chain << tree.filePath(relative);
    }
    tree.createDir(relative);
    FolderDescent descent(tree.path(), 3);
    QVERIFY(descent.open(DescentFolder{tree.path(), std::nullopt}) >= 0);
    for (const QString &level : chain) {
        QVERIFY2(descent.open(listed(level)) >= 0, qPrintable(level));
        // The top and at most three below it.
        QVERIFY(descent.openCount() <= 4);
    }
    for (qsizetype i = chain.size() - 1; i >= 0; --i) {
        const QString branch = QString(i == 0 ? tree.path() : chain.at(i - 1)) + QStringLiteral("/branch");
        const FolderReader::FolderEntries entries = read(descent, listed(branch));
        QVERIFY2(entries.read, qPrintable(branch));
        QCOMPARE(entries.files, QStringList{QStringLiteral("in.txt")});
        QVERIFY(descent.openCount() <= 4);
    }
}

void TestFolderDescent::closedFolderOnTheWayIsCheckedAgain_data()
{
    QTest::addColumn<bool>("link"); // else the look-alike itself is moved in

    QTest::newRow("a link to a look-alike outside") << true;
    QTest::newRow("a look-alike moved in") << false;
}

void TestFolderDescent::closedFolderOnTheWayIsCheckedAgain()
{
    QFETCH(bool, link);
    TestDir tree;
    tree.createFile(QStringLiteral("a/b/c/d/in.txt"));
    tree.createFile(QStringLiteral("a/b/other/in.txt"));
    TestDir outside;
    outside.createFile(QStringLiteral("b/other/secret.txt"));
    FolderDescent descent(tree.path(), 1);
    QVERIFY(descent.open(DescentFolder{tree.path(), std::nullopt}) >= 0);
    for (const char *folder : {"a", "a/b", "a/b/c", "a/b/c/d"})
        QVERIFY(descent.open(listed(tree.filePath(QLatin1String(folder)))) >= 0);
    const DescentFolder other = listed(tree.filePath(QStringLiteral("a/b/other")));

    // a/b, closed by now (one folder below the top stays open), is exchanged for a look-alike.
    QVERIFY(rename(tree.filePath(QStringLiteral("a/b")), tree.filePath(QStringLiteral("a/was"))));
    if (link)
        QVERIFY(QFile::link(outside.filePath(QStringLiteral("b")), tree.filePath(QStringLiteral("a/b"))));
    else
        QVERIFY(rename(outside.filePath(QStringLiteral("b")), tree.filePath(QStringLiteral("a/b"))));

    QVERIFY(!read(descent, other).opened);
}

void TestFolderDescent::topIsReadAgainFromItsStart()
{
    TestDir tree;
    tree.createFile(QStringLiteral("a.txt"));
    tree.createFile(QStringLiteral("sub/b.txt"));
    FolderDescent descent(tree.path());
    const DescentFolder top{tree.path(), std::nullopt};
    const FolderReader::FolderEntries first = read(descent, top);
    const FolderReader::FolderEntries sub = read(descent, listed(tree.filePath(QStringLiteral("sub"))));
    QCOMPARE(sub.files, QStringList{QStringLiteral("b.txt")});
    const FolderReader::FolderEntries again = read(descent, top);
    QCOMPARE(again.files, first.files);
    QCOMPARE(again.folders, first.folders);
    // And so is a folder below it.
    QCOMPARE(read(descent, listed(tree.filePath(QStringLiteral("sub")))).files, sub.files);
}

void TestFolderDescent::topMayBeALinkOrBeyondTheLongestPath()
{
    TestDir tree;
    // 30 levels of 200 bytes: beyond what the system takes in one call.
    const DeepChain chain(tree.path(), QByteArray(200, 'd'), 30, "deep.txt", "deep");
    QVERIFY(chain.isMade());
    QVERIFY(PathCodec::encode(chain.folderPath()).size() > PATH_MAX);
    FolderDescent deep(chain.folderPath());
    QCOMPARE(read(deep, DescentFolder{chain.folderPath(), std::nullopt}).files, QStringList{QStringLiteral("deep.txt")});

    // The top is the folder asked for, whatever led to it.
    TestDir elsewhere;
    elsewhere.createFile(QStringLiteral("there.txt"));
    const QString link = tree.filePath(QStringLiteral("link"));
    QVERIFY(QFile::link(elsewhere.path(), link));
    FolderDescent linked(link);
    QCOMPARE(read(linked, DescentFolder{link, std::nullopt}).files, QStringList{QStringLiteral("there.txt")});
}

QTEST_MAIN(TestFolderDescent)
#include "tst_folderdescent.moc"
