// The folder pop-up's "Add New Folder" and its window FoldMaker, on real folders.

#include "DialogFixture.h"

#include "fileops/NewFolder.h"
#include "support/TestCase.h"

#include <QLineEdit>
#include <QPushButton>

class NewFolderTest : public TestCase
{
    Q_OBJECT

    struct Setup : DialogFixture
    {
        NewFolder newFolder{services(), *board};

        Setup()
        {
            dir.createDir(QStringLiteral("data/taken"));
            dir.createFile(QStringLiteral("data/file.txt"));
            dir.createDir(QStringLiteral("other"));
        }

        FoldMaker *create(int n, const QString &name)
        {
            newFolder.mnuAddnew_Click(n);
            FoldMaker *window = newFolder.dialog();
            window->text1()->setText(name);
            return window;
        }
        void okay() { newFolder.dialog()->button(QStringLiteral("Command1"))->click(); }
    };

    std::unique_ptr<Setup> f;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<Setup>(); }
    void cleanup() { f.reset(); }

    void opensOnThePaneFolder();
    void okay_data();
    void okay();
    void theLastPaneChosenIsTheTarget();
    void cancelAfterAFailureStartsAfresh();
};

void NewFolderTest::opensOnThePaneFolder()
{
    f->open(1, f->path(QStringLiteral("data")));
    f->newFolder.mnuAddnew_Click(1);
    FoldMaker *window = f->newFolder.dialog();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("FoldMaker"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Create Folder"));
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(window->size(), QSize(361, 155));
    QCOMPARE(window->text2()->text(), f->path(QStringLiteral("data/")));
    QVERIFY(!window->text2()->isVisibleTo(window));
    QCOMPARE(window->focusWidget(), window->text1());

    // "/" keeps its one separator.
    f->open(1, QStringLiteral("/"));
    f->newFolder.mnuAddnew_Click(1);
    QCOMPARE(window->text2()->text(), QStringLiteral("/"));
}

void NewFolderTest::okay_data()
{
    QTest::addColumn<QString>("folder"); // relative to the tree; "" is the tree's volume root
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("removeFirst"); // the open folder goes after the window opened
    QTest::addColumn<QString>("message");  // empty: created, window unloaded

    const QString nameOnly = QStringLiteral("Please enter the new folder name only  ");
    const QString taken = QStringLiteral(" Write protected or access marked as restricted or name already exists");
    QTest::newRow("ordinary") << "data" << "new" << false << QString();
    QTest::newRow("in a volume root") << "" << "new" << false << QString();
    QTest::newRow("blanks are kept") << "data" << " new " << false << QString();
    QTest::newRow("a backslash is an ordinary character") << "data" << "a\\b" << false << QString();
    QTest::newRow("a name with a separator") << "data" << "taken/new" << false << nameOnly;
    QTest::newRow("a leading separator") << "data" << "/new" << false << nameOnly;
    QTest::newRow("dot-dot") << "data" << ".." << false << nameOnly;
    QTest::newRow("dot") << "data" << "." << false << nameOnly;
    QTest::newRow("an existing folder: 75") << "data" << "taken" << false << taken;
    QTest::newRow("an existing file: 75") << "data" << "file.txt" << false << taken;
    QTest::newRow("an empty name names the folder itself: 75") << "data" << "" << false << taken;
    QTest::newRow("the open folder is gone: 76") << "data" << "new" << true
                                                 << "Can't map path to folder or read only media";
}

void NewFolderTest::okay()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(bool, removeFirst);
    QFETCH(QString, message);

    f->open(2, f->path(folder));
    f->open(4, f->path(folder));
    const QString base = folder.isEmpty() ? QString() : folder + QLatin1Char('/');
    FoldMaker *window = f->create(2, name);
    if (removeFirst)
        QVERIFY(QDir(f->path(folder)).removeRecursively());
    const QStringList before = f->dir.entries(folder);
    const QStringList takenBefore = f->dir.entries(QStringLiteral("data/taken"));
    f->okay();

    if (message.isEmpty()) {
        QVERIFY(f->messageTexts().isEmpty());
        QVERIFY(!f->newFolder.dialog());
        QVERIFY(QFileInfo(f->path(base + name)).isDir());
        QStringList after = before;
        after << name;
        after.sort();
        QCOMPARE(f->dir.entries(folder), after);
        // The folder lists were re-read; no pane moved.
        QVERIFY(f->folderRows(4).contains(f->path(base + name)));
        QCOMPARE(f->pane(2).folderList()->path(), f->path(folder));
        return;
    }
    QCOMPARE(f->messageTexts(), QStringList{message});
    QCOMPARE(f->test.dialogs.messages().constFirst().icon,
             message.startsWith(QStringLiteral("Please")) ? MessageIcon::None : MessageIcon::Information);
    QCOMPARE(f->newFolder.dialog(), window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->text1()->text(), name);
    QCOMPARE(f->dir.entries(folder), before);
    QCOMPARE(f->dir.entries(QStringLiteral("data/taken")), takenBefore);
    QVERIFY(!QFile::exists(f->path(QStringLiteral("new"))));
}

void NewFolderTest::theLastPaneChosenIsTheTarget()
{
    f->open(1, f->path(QStringLiteral("data")));
    f->open(2, f->path(QStringLiteral("other")));
    f->create(1, QStringLiteral("made"));
    // Add New Folder in pane 2 before Okay: the name typed so far stays.
    f->newFolder.mnuAddnew_Click(2);
    QCOMPARE(f->newFolder.dialog()->text1()->text(), QStringLiteral("made"));
    // A later folder change of pane 2 does not move the target again.
    f->open(2, f->path(QStringLiteral("data")));
    f->okay();

    QVERIFY(QFileInfo(f->path(QStringLiteral("other/made"))).isDir());
    QVERIFY(!QFile::exists(f->path(QStringLiteral("data/made"))));
}

void NewFolderTest::cancelAfterAFailureStartsAfresh()
{
    f->open(1, f->path(QStringLiteral("data")));
    f->create(1, QStringLiteral("taken"));
    f->okay();
    QCOMPARE(f->messageTexts().size(), 1);
    f->newFolder.dialog()->button(QStringLiteral("Command2"))->click();
    QVERIFY(!f->newFolder.dialog());

    f->newFolder.mnuAddnew_Click(1);
    QCOMPARE(f->newFolder.dialog()->text1()->text(), QString());
    f->newFolder.dialog()->close();
    QVERIFY(!f->newFolder.dialog());
    QCOMPARE(f->dir.entries(QStringLiteral("data")), QStringList({QStringLiteral("file.txt"), QStringLiteral("taken")}));
}

QTEST_MAIN(NewFolderTest)
#include "tst_newfolder.moc"
