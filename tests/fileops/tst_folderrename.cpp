// The folder pop-up's "Rename" and its window Namer, on real folders: the rename itself, its
// refusals, and the reset of the pane that changed its folder last.

#include "DialogFixture.h"

#include "fileops/FolderRename.h"
#include "support/TestCase.h"

#include <QLineEdit>
#include <QPushButton>

Q_DECLARE_METATYPE(MessageIcon)

class FolderRenameTest : public TestCase
{
    Q_OBJECT

    struct Setup : DialogFixture
    {
        FolderRename rename{services(), *board};

        Setup()
        {
            dir.createFile(QStringLiteral("data/old/inside.txt"), "inside");
            dir.createDir(QStringLiteral("data/taken"));
            dir.createFile(QStringLiteral("data/file.txt"));
            dir.createDir(QStringLiteral("elsewhere"));
        }

        Namer *renameTo(int n, const QString &name)
        {
            rename.mnuRename_Click(n);
            Namer *window = rename.dialog();
            window->text2()->setText(name);
            return window;
        }
        void okay() { rename.dialog()->button(QStringLiteral("Command1"))->click(); }

        QStringList paneState(int n)
        {
            return {pane(n).folderList()->path(), pane(n).fileList()->path(), pane(n).driveList()->drive()};
        }
    };

    std::unique_ptr<Setup> f;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<Setup>(); }
    void cleanup() { f.reset(); }

    void opensOnThePaneFolder();
    void renameMovesTheLastChangedPaneToItsRoot();
    void anotherPaneChangedLast();
    void noFolderChangedSinceStart();
    void refusals_data();
    void refusals();
    void aDuplicateCanBeCorrected();
    void aDriveRootIsNeverRenamed_data();
    void aDriveRootIsNeverRenamed();
};

void FolderRenameTest::opensOnThePaneFolder()
{
    f->open(2, f->path(QStringLiteral("data/old")));
    f->rename.mnuRename_Click(2);
    Namer *window = f->rename.dialog();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("Namer"));
    QCOMPARE(window->windowTitle(), QStringLiteral("New Folder Name"));
    QVERIFY(window->windowFlags().testFlag(Qt::Tool));
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(window->size(), QSize(352, 114));
    QCOMPARE(window->text1()->text(), f->path(QStringLiteral("data/old")));
    QVERIFY(!window->text1()->isEnabled());
    QCOMPARE(window->focusWidget(), window->text2());

    // Another Rename reuses the window and keeps the typed name.
    window->text2()->setText(QStringLiteral("typed"));
    f->open(3, f->path(QStringLiteral("elsewhere")));
    f->rename.mnuRename_Click(3);
    QCOMPARE(f->rename.dialog(), window);
    QCOMPARE(window->text1()->text(), f->path(QStringLiteral("elsewhere")));
    QCOMPARE(window->text2()->text(), QStringLiteral("typed"));
}

void FolderRenameTest::renameMovesTheLastChangedPaneToItsRoot()
{
    f->open(4, f->path(QStringLiteral("data")));
    f->open(2, f->path(QStringLiteral("data/old")));
    QCOMPARE(f->board->text6()->text(), QStringLiteral("2"));
    QVERIFY(f->folderRows(4).contains(f->path(QStringLiteral("data/old"))));

    f->renameTo(2, QStringLiteral("new"));
    f->okay();

    QVERIFY(f->messageTexts().isEmpty());
    QVERIFY(!f->rename.dialog());
    QCOMPARE(f->dir.entries(QStringLiteral("data/new")), QStringList{QStringLiteral("inside.txt")});
    QVERIFY(!QFile::exists(f->path(QStringLiteral("data/old"))));
    // Pane 2 went to the volume's root through its own change steps.
    QCOMPARE(f->paneState(2), QStringList({f->root(), f->root(), f->root()}));
    QCOMPARE(f->board->text6()->text(), QStringLiteral("2"));
    // Every folder list was re-read: pane 4 shows the new name, not the old.
    QVERIFY(f->folderRows(4).contains(f->path(QStringLiteral("data/new"))));
    QVERIFY(!f->folderRows(4).contains(f->path(QStringLiteral("data/old"))));
    QCOMPARE(f->pane(4).folderList()->path(), f->path(QStringLiteral("data")));
}

void FolderRenameTest::anotherPaneChangedLast()
{
    // Pane 1 changed last, on another drive; the tree's volume opens at its "elsewhere" folder.
    f->test.drives.folders.insert(f->root(), f->path(QStringLiteral("elsewhere")));
    f->open(2, f->path(QStringLiteral("data/old")));
    f->pane(1).driveList()->setDrive(QStringLiteral("/"));
    QCOMPARE(f->paneState(1), QStringList({QStringLiteral("/"), QStringLiteral("/"), QStringLiteral("/")}));
    QCOMPARE(f->board->text6()->text(), QStringLiteral("1"));
    f->test.drives.asked.clear();

    f->renameTo(2, QStringLiteral("new"));
    f->okay();

    QVERIFY(QFile::exists(f->path(QStringLiteral("data/new/inside.txt"))));
    // Pane 1 was set to the root, and its drive change then took it to that drive's folder.
    QCOMPARE(f->test.drives.asked, QStringList{f->root()});
    const QString elsewhere = f->path(QStringLiteral("elsewhere"));
    QCOMPARE(f->paneState(1), QStringList({elsewhere, elsewhere, f->root()}));
    // Pane 2 still names the old folder; its list shows the path without failing.
    QCOMPARE(f->pane(2).folderList()->path(), f->path(QStringLiteral("data/old")));
    QVERIFY(f->messageTexts().isEmpty());
}

void FolderRenameTest::noFolderChangedSinceStart()
{
    // A board made on "data": every pane is there, and no folder list has changed yet.
    QDir::setCurrent(f->path(QStringLiteral("data")));
    PaneBoard board(&f->main, f->services());
    FolderRename rename(f->services(), board);
    auto states = [&board] {
        QStringList state;
        for (int n = 1; n <= PaneCount; ++n) {
            const Pane &pane = board.pane(n);
            state << pane.folderList()->path() << pane.fileList()->path() << pane.driveList()->drive();
        }
        return state;
    };
    QCOMPARE(board.lastFolderChangePane(), 0);
    const QStringList before = states();

    rename.mnuRename_Click(2);
    rename.dialog()->text2()->setText(QStringLiteral("renamed"));
    rename.dialog()->button(QStringLiteral("Command1"))->click();

    QVERIFY(QFile::exists(f->path(QStringLiteral("renamed/old/inside.txt"))));
    QCOMPARE(states(), before);
    QCOMPARE(board.lastFolderChangePane(), 0);
    QCOMPARE(board.text6()->text(), QString());
}

void FolderRenameTest::refusals_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("removeFirst");
    QTest::addColumn<QString>("message");
    QTest::addColumn<MessageIcon>("icon");

    const QString refused =
        QStringLiteral(" Write protected disk or access marked as restricted,or read only cd-rom");
    const QString duplicate = QStringLiteral(" Duplicate name already exists. ");
    QTest::newRow("empty name") << "" << false << "Please enter new name to continue" << MessageIcon::None;
    QTest::newRow("an existing folder: 58") << "taken" << false << duplicate << MessageIcon::Information;
    QTest::newRow("an existing file: 58") << "file.txt" << false << duplicate << MessageIcon::Information;
    QTest::newRow("a name with a separator") << "taken/old" << false << refused << MessageIcon::Information;
    QTest::newRow("dot-dot") << ".." << false << refused << MessageIcon::Information;
    QTest::newRow("dot") << "." << false << refused << MessageIcon::Information;
    QTest::newRow("only blanks") << "   " << false << refused << MessageIcon::Information;
    QTest::newRow("the folder is gone: 53") << "new" << true << " Path to this directory is not found"
                                            << MessageIcon::Information;
}

void FolderRenameTest::refusals()
{
    QFETCH(QString, newName);
    QFETCH(bool, removeFirst);
    QFETCH(QString, message);
    QFETCH(MessageIcon, icon);

    f->open(2, f->path(QStringLiteral("data/old")));
    Namer *window = f->renameTo(2, newName);
    if (removeFirst) {
        QFile::remove(f->path(QStringLiteral("data/old/inside.txt")));
        QDir().rmdir(f->path(QStringLiteral("data/old")));
    }
    const QStringList before = f->dir.entries(QStringLiteral("data"));
    f->okay();

    QCOMPARE(f->messageTexts(), QStringList{message});
    QCOMPARE(f->test.dialogs.messages().constFirst().icon, icon);
    QCOMPARE(f->rename.dialog(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->text2()->text(), newName);
    QCOMPARE(f->dir.entries(QStringLiteral("data")), before);
    QVERIFY(f->dir.entries(QStringLiteral("data/taken")).isEmpty());
    if (!removeFirst)
        QCOMPARE(f->dir.read(QStringLiteral("data/old/inside.txt")), QByteArray("inside"));
    // No pane moved.
    QCOMPARE(f->pane(2).folderList()->path(), f->path(QStringLiteral("data/old")));
}

void FolderRenameTest::aDuplicateCanBeCorrected()
{
    f->open(2, f->path(QStringLiteral("data/old")));
    f->renameTo(2, QStringLiteral("taken"));
    f->okay();
    QCOMPARE(f->messageTexts(), QStringList{QStringLiteral(" Duplicate name already exists. ")});

    f->rename.dialog()->text2()->setText(QStringLiteral("fresh"));
    f->okay();
    QVERIFY(!f->rename.dialog());
    QCOMPARE(f->dir.entries(QStringLiteral("data/fresh")), QStringList{QStringLiteral("inside.txt")});
    QVERIFY(f->dir.entries(QStringLiteral("data/taken")).isEmpty());
    QCOMPARE(f->pane(2).folderList()->path(), f->root());
}

void FolderRenameTest::aDriveRootIsNeverRenamed_data()
{
    QTest::addColumn<bool>("systemRoot"); // "/" rather than the tree's own volume root
    QTest::newRow("a volume root") << false;
    QTest::newRow("/") << true;
}

void FolderRenameTest::aDriveRootIsNeverRenamed()
{
    QFETCH(bool, systemRoot);
    const QString root = systemRoot ? QStringLiteral("/") : f->root();
    f->open(2, root);
    f->open(3, f->path(QStringLiteral("data")));
    const QStringList before = f->dir.entries();

    f->renameTo(2, QStringLiteral("renamed"));
    f->okay();

    QCOMPARE(f->messageTexts(), QStringList{QStringLiteral(
        "Cannot change name of drive root directory or no double click over folder name.")});
    QCOMPARE(f->test.dialogs.messages().constFirst().icon, MessageIcon::Critical);
    QVERIFY(!f->rename.dialog());
    QCOMPARE(f->dir.entries(), before);
    QVERIFY(QFile::exists(root));
    QCOMPARE(f->pane(3).folderList()->path(), f->path(QStringLiteral("data")));
}

QTEST_MAIN(FolderRenameTest)
#include "tst_folderrename.moc"
