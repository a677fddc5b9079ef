// The folder pop-up's "Remove", on real folders: only an empty folder goes, and the panes that
// showed it move to its parent through their own folder change steps.

#include "DialogFixture.h"

#include "fileops/RemoveFolder.h"
#include "support/TestCase.h"

class RemoveFolderTest : public TestCase
{
    Q_OBJECT

    struct Setup : DialogFixture
    {
        RemoveFolder remove{services(), *board};
        QList<int> changes; // panes whose folder changed, in order

        Setup()
        {
            dir.createDir(QStringLiteral("data/old"));
            dir.createDir(QStringLiteral("top"));
            dir.createDir(QStringLiteral("other"));
            for (int n = 1; n <= PaneCount; ++n)
                QObject::connect(pane(n).folderList(), &FolderList::changed, &main, [this, n] { changes << n; });
        }

        QStringList folders()
        {
            QStringList paths;
            for (int n = 1; n <= PaneCount; ++n)
                paths << pane(n).folderList()->path();
            return paths;
        }
    };

    std::unique_ptr<Setup> f;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<Setup>(); }
    void cleanup() { f.reset(); }

    void anEmptyFolderGoesAndItsPanesMoveUp();
    void aFolderUnderTheVolumeRootMovesToTheRoot();
    void nothingIsRemovedOrMoved_data();
    void nothingIsRemovedOrMoved();
};

void RemoveFolderTest::anEmptyFolderGoesAndItsPanesMoveUp()
{
    const QString old = f->path(QStringLiteral("data/old"));
    f->open(1, f->path(QStringLiteral("other")));
    f->open(5, old);
    f->open(4, old);
    f->open(3, f->path(QStringLiteral("data")));
    f->open(2, old);
    f->changes.clear();

    f->remove.mnuRemove_Click(2);

    QVERIFY(f->messageTexts().isEmpty());
    QVERIFY(!QFile::exists(old));
    const QString data = f->path(QStringLiteral("data"));
    QCOMPARE(f->folders(), QStringList({f->path(QStringLiteral("other")), data, data, data, data}));
    // The own pane first, then the others in ascending order.
    QCOMPARE(f->changes, QList<int>({2, 4, 5}));
    QCOMPARE(f->board->text6()->text(), QStringLiteral("5"));
    for (int n = 2; n <= PaneCount; ++n) {
        QVERIFY(!f->folderRows(n).contains(old));
        QCOMPARE(f->pane(n).fileList()->path(), data);
    }
}

void RemoveFolderTest::aFolderUnderTheVolumeRootMovesToTheRoot()
{
    f->open(3, f->path(QStringLiteral("top")));
    f->remove.mnuRemove_Click(3);
    QVERIFY(!QFile::exists(f->path(QStringLiteral("top"))));
    QCOMPARE(f->pane(3).folderList()->path(), f->root());
    QVERIFY(f->messageTexts().isEmpty());
}

void RemoveFolderTest::nothingIsRemovedOrMoved_data()
{
    QTest::addColumn<QString>("content"); // what the folder holds: "file", "folder", "hidden", ""
    QTest::addColumn<QString>("folder");  // "$ROOT" the volume root, "/" the system root
    QTest::addColumn<bool>("removeFirst");
    QTest::addColumn<bool>("message");

    QTest::newRow("holds a file") << "file" << "data/old" << false << true;
    QTest::newRow("holds a folder") << "folder" << "data/old" << false << true;
    QTest::newRow("holds a dot-file") << "hidden" << "data/old" << false << true;
    QTest::newRow("a volume root") << "" << "$ROOT" << false << true;
    QTest::newRow("the system root") << "" << "/" << false << true;
    QTest::newRow("already gone: silent") << "" << "data/old" << true << false;
}

void RemoveFolderTest::nothingIsRemovedOrMoved()
{
    QFETCH(QString, content);
    QFETCH(QString, folder);
    QFETCH(bool, removeFirst);
    QFETCH(bool, message);

    if (content == QStringLiteral("file"))
        f->dir.createFile(QStringLiteral("data/old/keep.txt"), "keep");
    else if (content == QStringLiteral("folder"))
        f->dir.createDir(QStringLiteral("data/old/sub"));
    else if (content == QStringLiteral("hidden"))
        f->dir.createFile(QStringLiteral("data/old/.keep"), "keep");
    const QString path = folder == QStringLiteral("$ROOT") ? f->root()
                         : folder == QStringLiteral("/") ? folder
                                                          : f->path(folder);
    f->open(1, path);
    f->open(4, path);
    if (removeFirst)
        QVERIFY(QDir().rmdir(path));
    const QStringList before = f->folders();
    const QStringList tree = f->dir.entries(QStringLiteral("data"));
    const QStringList inside = f->dir.entries(QStringLiteral("data/old"));
    f->changes.clear();

    f->remove.mnuRemove_Click(1);

    QCOMPARE(f->messageTexts(), message ? QStringList{QStringLiteral("Can only delete folder after files are deleted.")}
                                        : QStringList());
    if (message)
        QCOMPARE(f->test.dialogs.messages().constFirst().icon, MessageIcon::Information);
    QCOMPARE(f->folders(), before);
    QVERIFY(f->changes.isEmpty());
    QCOMPARE(f->dir.entries(QStringLiteral("data")), tree);
    QCOMPARE(f->dir.entries(QStringLiteral("data/old")), inside);
    QVERIFY(QFile::exists(f->root()));
}

QTEST_MAIN(RemoveFolderTest)
#include "tst_removefolder.moc"
