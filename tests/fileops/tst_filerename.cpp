// The file pop-up's "Rename" and its window Namer2, on real files.

#include "DialogFixture.h"

#include "fileops/FileRename.h"
#include "support/TestCase.h"

#include <QLineEdit>
#include <QPushButton>

class FileRenameTest : public TestCase
{
    Q_OBJECT

    struct Setup : DialogFixture
    {
        FileRename rename{services(), *board};

        Setup()
        {
            dir.createFile(QStringLiteral("data/a.txt"), "alpha");
            dir.createFile(QStringLiteral("data/b.txt"), "bravo");
            dir.createFile(QStringLiteral("data/sub/keep"), "keep");
            dir.createFile(QStringLiteral("top.txt"), "top");
            open(1, path(QStringLiteral("data")));
            open(2, path(QStringLiteral("data")));
        }

        // "Rename" on name in pane n, then name typed into the window.
        Namer2 *renameTo(int n, const QString &oldName, const QString &newName)
        {
            select(n, {oldName});
            rename.mnuReeName_Click(n);
            Namer2 *window = rename.dialog();
            if (window)
                window->text1()->setText(newName);
            return window;
        }
        void okay() { rename.dialog()->button(QStringLiteral("Command1"))->click(); }
    };

    std::unique_ptr<Setup> f;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<Setup>(); }
    void cleanup() { f.reset(); }

    void noCurrentFileOpensNothing();
    void opensOnThePaneCurrentFile();
    void okay_data();
    void okay();
    void aDuplicateCanBeCorrected();
    void anotherRenameReusesTheWindow();
    void cancelAndTheCloseBoxUnload();
};

void FileRenameTest::noCurrentFileOpensNothing()
{
    f->rename.mnuReeName_Click(2);
    QVERIFY(!f->rename.dialog());
    QCOMPARE(f->messageTexts(), QStringList{QStringLiteral("No file Selected")});
    QCOMPARE(f->test.dialogs.messages().constFirst().icon, MessageIcon::None);
}

void FileRenameTest::opensOnThePaneCurrentFile()
{
    Namer2 *window = f->renameTo(2, QStringLiteral("a.txt"), QString());
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("Namer2"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Rename File : a.txt"));
    QCOMPARE(window->text2()->text(), f->path(QStringLiteral("data/a.txt")));
    QVERIFY(!window->text2()->isVisibleTo(window));
    QCOMPARE(window->text1()->text(), QString());
    QCOMPARE(window->size(), QSize(325, 115));
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(window->focusWidget(), window->text1());
}

void FileRenameTest::okay_data()
{
    QTest::addColumn<QString>("folder"); // relative to the tree; "" is the tree's volume root
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("removeFirst"); // the file goes after the window opened
    QTest::addColumn<QString>("message");  // empty: renamed, window unloaded

    const QString refused = QStringLiteral(" Write protected or access marked as restricted");
    QTest::newRow("ordinary") << "data" << "renamed.txt" << false << QString();
    QTest::newRow("no extension is added") << "data" << "b2" << false << QString();
    QTest::newRow("blanks are part of the name") << "data" << " c .txt " << false << QString();
    QTest::newRow("in a volume root") << "" << "moved.txt" << false << QString();
    QTest::newRow("an existing file: 58") << "data" << "b.txt" << false << QStringLiteral(" Duplicate filename already exists. ");
    QTest::newRow("an existing folder: 58") << "data" << "sub" << false << QStringLiteral(" Duplicate filename already exists. ");
    QTest::newRow("a name with a separator") << "data" << "sub/a.txt" << false << refused;
    QTest::newRow("a path up") << "data" << "../a.txt" << false << refused;
    QTest::newRow("dot-dot") << "data" << ".." << false << refused;
    QTest::newRow("dot") << "data" << "." << false << refused;
    QTest::newRow("an empty name") << "data" << "" << false << refused;
    QTest::newRow("the file is gone: 53") << "data" << "renamed.txt" << true << QStringLiteral(" Path to this file is not found");
}

void FileRenameTest::okay()
{
    QFETCH(QString, folder);
    QFETCH(QString, newName);
    QFETCH(bool, removeFirst);
    QFETCH(QString, message);

    const QString oldName = folder.isEmpty() ? QStringLiteral("top.txt") : QStringLiteral("a.txt");
    const QString base = folder.isEmpty() ? QString() : folder + QLatin1Char('/');
    const QByteArray contents = f->dir.read(base + oldName);
    f->open(3, f->path(folder));
    const QStringList before = f->dir.entries(folder);
    Namer2 *window = f->renameTo(3, oldName, newName);
    QCOMPARE(window->text2()->text(), f->path(base + oldName));
    if (removeFirst)
        QFile::remove(f->path(base + oldName));
    f->okay();

    if (message.isEmpty()) {
        QVERIFY(f->messageTexts().isEmpty());
        QVERIFY(!f->rename.dialog());
        QCOMPARE(f->dir.read(base + newName), contents);
        QVERIFY(!QFile::exists(f->path(base + oldName)));
        // Refresh All re-read every file list on that folder.
        QVERIFY(f->items(3).contains(newName));
        if (folder == QStringLiteral("data")) {
            QVERIFY(f->items(1).contains(newName));
            QVERIFY(!f->items(2).contains(oldName));
        }
        return;
    }
    QCOMPARE(f->messageTexts(), QStringList{message});
    QCOMPARE(f->test.dialogs.messages().constFirst().icon, MessageIcon::Information);
    // The window stays with what was typed, and nothing on disk changed.
    QCOMPARE(f->rename.dialog(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->text1()->text(), newName);
    QStringList after = before;
    if (removeFirst)
        after.removeOne(oldName);
    QCOMPARE(f->dir.entries(folder), after);
    QCOMPARE(f->dir.entries(QStringLiteral("data/sub")), QStringList{QStringLiteral("keep")});
    if (!removeFirst)
        QCOMPARE(f->dir.read(base + oldName), contents);
    QCOMPARE(f->dir.read(QStringLiteral("data/b.txt")), QByteArray("bravo"));
}

void FileRenameTest::aDuplicateCanBeCorrected()
{
    f->renameTo(2, QStringLiteral("a.txt"), QStringLiteral("b.txt"));
    f->okay();
    QCOMPARE(f->messageTexts(), QStringList{QStringLiteral(" Duplicate filename already exists. ")});

    f->rename.dialog()->text1()->setText(QStringLiteral("c.txt"));
    f->okay();
    QVERIFY(!f->rename.dialog());
    QCOMPARE(f->dir.entries(QStringLiteral("data")),
             QStringList({QStringLiteral("b.txt"), QStringLiteral("c.txt"), QStringLiteral("sub")}));
    QCOMPARE(f->dir.read(QStringLiteral("data/c.txt")), QByteArray("alpha"));
    QCOMPARE(f->messageTexts().size(), 1);
    // The next Rename starts from the design again.
    DialogFixture::settle();
    f->select(1, {QStringLiteral("c.txt")});
    f->rename.mnuReeName_Click(1);
    QCOMPARE(f->rename.dialog()->text1()->text(), QString());
}

void FileRenameTest::anotherRenameReusesTheWindow()
{
    Namer2 *window = f->renameTo(1, QStringLiteral("a.txt"), QStringLiteral("z.txt"));
    f->select(2, {QStringLiteral("b.txt")});
    f->rename.mnuReeName_Click(2);
    QCOMPARE(f->rename.dialog(), window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Rename File : b.txt"));
    QCOMPARE(window->text1()->text(), QStringLiteral("z.txt"));
    f->okay();
    QCOMPARE(f->dir.entries(QStringLiteral("data")),
             QStringList({QStringLiteral("a.txt"), QStringLiteral("sub"), QStringLiteral("z.txt")}));
    QCOMPARE(f->dir.read(QStringLiteral("data/z.txt")), QByteArray("bravo"));
}

void FileRenameTest::cancelAndTheCloseBoxUnload()
{
    f->renameTo(1, QStringLiteral("a.txt"), QStringLiteral("z.txt"));
    f->rename.dialog()->button(QStringLiteral("Command2"))->click();
    QVERIFY(!f->rename.dialog());

    f->renameTo(1, QStringLiteral("a.txt"), QStringLiteral("z.txt"));
    f->rename.dialog()->close();
    QVERIFY(!f->rename.dialog());

    QCOMPARE(f->dir.entries(QStringLiteral("data")),
             QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("sub")}));
    QVERIFY(f->messageTexts().isEmpty());
}

QTEST_MAIN(FileRenameTest)
#include "tst_filerename.moc"
