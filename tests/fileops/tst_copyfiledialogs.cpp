// The "Copy File" windows of the five panes: opening them, Okay's copy into the typed folder
// with its messages, and the copy batch Okay leaves behind.

#include "DialogFixture.h"

#include "fileops/CopyBatch.h"
#include "fileops/CopyCommands.h"
#include "fileops/CopyFileTo.h"
#include "platform/ui/ToolkitColor.h"
#include "support/TestCase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class CopyFileDialogsTest : public TestCase
{
    Q_OBJECT

    struct Setup : DialogFixture
    {
        CopyBatch batch;
        CopyCommands copy{*board, services(), batch};
        CopyFileTo copyTo{services(), *board, copy, batch};

        Setup()
        {
            dir.createFile(QStringLiteral("src/a.txt"), "alpha");
            dir.createFile(QStringLiteral("src/b.txt"), "bravo");
            dir.createFile(QStringLiteral("src/c.txt"), "charlie");
            dir.createDir(QStringLiteral("dest"));
            open(2, path(QStringLiteral("src")));
        }

        // Opens pane n's window from its pop-up and types the destination.
        CopyFileDialog *openWith(int n, const QString &destination)
        {
            copyTo.mnuCopee_Click(n);
            CopyFileDialog *window = copyTo.dialog(n);
            window->text2()->setText(destination);
            return window;
        }
    };

    std::unique_ptr<Setup> f;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<Setup>(); }
    void cleanup() { f.reset(); }

    void eachPaneOpensItsOwnWindow_data();
    void eachPaneOpensItsOwnWindow();
    void sourceBoxShowsThePaneFilePath();
    void okayCopiesIntoTheTypedFolder_data();
    void okayCopiesIntoTheTypedFolder();
    void aDiskThatFillsKeepsTheOldFiles();
    void anEmptyDestinationChangesNothing();
    void okayReadsThePaneWhenPressed();
    void okayWithNoSelectionEmptiesTheBatch();
    void hidingKeepsTheDestinationUnloadingDropsIt();
    void fileMenuPicksTheFirstPaneWithASelection_data();
    void fileMenuPicksTheFirstPaneWithASelection();
};

void CopyFileDialogsTest::eachPaneOpensItsOwnWindow_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("popupCaption");
    QTest::addColumn<QString>("label1");
    QTest::addColumn<int>("label1Left");
    QTest::addColumn<int>("text1Width");
    QTest::addColumn<int>("text2Width");

    const QString send = QStringLiteral(" Send a copy of file to Path  (Example C:\\Temp)");
    QTest::newRow("pane 1: white, six blanks, label moved left")
        << 1 << "Form2" << "Copy FileTo.." << QStringLiteral("     ") + send << -16 << 601 << 273;
    QTest::newRow("pane 2") << 2 << "Form5" << "Copy File To.." << send << 0 << 601 << 273;
    QTest::newRow("pane 3: narrower boxes") << 3 << "Form6" << "Copy File To" << send << 0 << 409 << 281;
    QTest::newRow("pane 4") << 4 << "Form7" << "Copy File To.." << send << 0 << 601 << 273;
    QTest::newRow("pane 5") << 5 << "Form8" << "Copy File To.." << send << 0 << 601 << 273;
}

void CopyFileDialogsTest::eachPaneOpensItsOwnWindow()
{
    QFETCH(int, pane);
    QFETCH(QString, name);
    QFETCH(QString, popupCaption);
    QFETCH(QString, label1);
    QFETCH(int, label1Left);
    QFETCH(int, text1Width);
    QFETCH(int, text2Width);

    f->copyTo.mnuCopee_Click(pane);
    CopyFileDialog *window = f->copyTo.dialog(pane);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->objectName(), name);
    QCOMPARE(window->windowTitle(), QStringLiteral("Copy File"));
    QCOMPARE(window->size(), QSize(409, 77));
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QCOMPARE(CopyFileDialog::popupCaption(pane), popupCaption);
    QCOMPARE(window->label(QStringLiteral("Label1"))->text(), label1);
    QCOMPARE(window->label(QStringLiteral("Label1"))->x(), label1Left);
    QCOMPARE(window->label(QStringLiteral("Label2"))->text(), QStringLiteral(" Copy from "));
    QCOMPARE(window->text1()->width(), text1Width);
    QCOMPARE(window->text2()->width(), text2Width);
    QCOMPARE(window->text2()->toolTip(), QStringLiteral(" FolderName Only"));
    QCOMPARE(window->focusWidget(), window->text2());
    const qint32 background = pane == 1 ? ToolkitColor::White : ToolkitColor::HighlightText;
    QCOMPARE(ToolkitColor::backColor(window, 0), background);
    // The other panes' windows stay unloaded.
    for (int other = 1; other <= PaneCount; ++other) {
        if (other != pane)
            QVERIFY(!f->copyTo.dialog(other));
    }
}

void CopyFileDialogsTest::sourceBoxShowsThePaneFilePath()
{
    f->copyTo.mnuCopee_Click(2);
    QCOMPARE(f->copyTo.dialog(2)->text1()->text(), f->path(QStringLiteral("src/")));

    f->select(2, {QStringLiteral("b.txt")});
    f->copyTo.mnuCopee_Click(2);
    QCOMPARE(f->copyTo.dialog(2)->text1()->text(), f->path(QStringLiteral("src/b.txt")));

    // "/" already ends in the separator.
    f->open(3, QStringLiteral("/"));
    f->copyTo.mnuCopee_Click(3);
    QCOMPARE(f->copyTo.dialog(3)->text1()->text(), QStringLiteral("/"));
}

void CopyFileDialogsTest::okayCopiesIntoTheTypedFolder_data()
{
    QTest::addColumn<QString>("destination"); // $DEST and $SRC stand for the two folders
    QTest::addColumn<QByteArray>("oldA");     // dest/a.txt before Okay; empty: none
    QTest::addColumn<bool>("readOnlyA");      // dest/a.txt is write protected
    QTest::addColumn<bool>("bVanishes");      // src/b.txt goes after it was selected
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("copied");  // the names now in dest with the source's bytes

    const QStringList both{QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    const QString missing = QStringLiteral(
        "Either the destination doesn't exist or the path to the folder is misspelled or incomplete");
    QTest::newRow("ordinary") << "$DEST" << QByteArray() << false << false << QString() << both;
    QTest::newRow("folder ending in a separator") << "$DEST/" << QByteArray() << false << false << QString() << both;
    QTest::newRow("an existing file is replaced") << "$DEST" << QByteArray("old") << false << false << QString() << both;
    QTest::newRow("a write-protected file stays")
        << "$DEST" << QByteArray("old") << true << false
        << "Destination is write protected or read only or not found" << QStringList();
    QTest::newRow("missing folder: 76") << "$DEST/nowhere" << QByteArray() << false << false << missing << QStringList();
    QTest::newRow("relative folder: 76, nothing in the current folder")
        << "dest" << QByteArray() << false << false << missing << QStringList();
    QTest::newRow("one letter is no drive: 76") << " D " << QByteArray() << false << false << missing << QStringList();
    QTest::newRow("the files' own folder: 70, silent") << "$SRC" << QByteArray() << false << false << QString() << QStringList();
    QTest::newRow("a source that vanished: 53, silent, earlier copies stay")
        << "$DEST" << QByteArray() << false << true << QString() << QStringList{QStringLiteral("a.txt")};
}

void CopyFileDialogsTest::okayCopiesIntoTheTypedFolder()
{
    QFETCH(QString, destination);
    QFETCH(QByteArray, oldA);
    QFETCH(bool, readOnlyA);
    QFETCH(bool, bVanishes);
    QFETCH(QString, message);
    QFETCH(QStringList, copied);

    f->dir.createDir(QStringLiteral("start/dest"));
    if (!oldA.isEmpty()) {
        const QString old = f->dir.createFile(QStringLiteral("dest/a.txt"), oldA);
        if (readOnlyA)
            QFile::setPermissions(old, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    const QStringList both{QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    f->select(2, both);
    if (bVanishes)
        QFile::remove(f->path(QStringLiteral("src/b.txt")));
    destination.replace(QStringLiteral("$DEST"), f->path(QStringLiteral("dest")));
    destination.replace(QStringLiteral("$SRC"), f->path(QStringLiteral("src")));

    CopyFileDialog *window = f->openWith(2, destination);
    window->button(QStringLiteral("Command1"))->click();

    QCOMPARE(f->messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
    // Okay hides the window, whatever happened, and refreshes its pane's file list.
    QVERIFY(f->copyTo.dialog(2));
    QVERIFY(!window->isVisible());
    QCOMPARE(f->pane(2).fileList()->listIndex(), -1);

    QStringList inDest;
    for (const QString &name : both) {
        QByteArray expected;
        if (copied.contains(name))
            expected = f->dir.read(QStringLiteral("src/") + name);
        else if (name == QStringLiteral("a.txt"))
            expected = oldA;
        if (!expected.isEmpty())
            inDest << name;
        QCOMPARE(f->dir.read(QStringLiteral("dest/") + name), expected);
    }
    // Nothing else in dest: no temporary file stays behind.
    QCOMPARE(f->dir.entries(QStringLiteral("dest")), inDest);
    // The sources stay byte-identical (also when they were their own destination).
    QCOMPARE(f->dir.read(QStringLiteral("src/a.txt")), QByteArray("alpha"));
    QCOMPARE(f->dir.read(QStringLiteral("src/c.txt")), QByteArray("charlie"));
    QCOMPARE(f->dir.entries(QStringLiteral("src")),
             bVanishes ? QStringList({QStringLiteral("a.txt"), QStringLiteral("c.txt")})
                       : QStringList({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")}));
    if (!bVanishes)
        QCOMPARE(f->dir.read(QStringLiteral("src/b.txt")), QByteArray("bravo"));
    // A relative destination never lands under the program's current folder.
    QCOMPARE(f->dir.entries(QStringLiteral("start")), QStringList{QStringLiteral("dest")});
    QVERIFY(f->dir.entries(QStringLiteral("start/dest")).isEmpty());

    // The batch holds every selected name, also those not copied, from the pane's folder.
    QCOMPARE(f->batch.list1(), both);
    QVERIFY(f->batch.list2().isEmpty());
    QCOMPARE(f->batch.sourceFolder(), f->path(QStringLiteral("src")));
    QCOMPARE(f->test.clipboard.text(), f->path(QStringLiteral("src")));
}

void CopyFileDialogsTest::aDiskThatFillsKeepsTheOldFiles()
{
    const QString volume = f->dir.createDir(QStringLiteral("volume"));
    TmpfsMount mount(volume, QStringLiteral("1m"));
    if (!mount.isMounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs: ") + mount.error()));

    const QByteArray oldB(300 * 1024, 'o');
    QFile old(volume + QStringLiteral("/b.bin"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    QCOMPARE(old.write(oldB), qint64(oldB.size()));
    old.close();
    const QByteArray newA(400 * 1024, 'a');
    const QByteArray newB(600 * 1024, 'b');
    f->dir.createFile(QStringLiteral("big/a.bin"), newA);
    f->dir.createFile(QStringLiteral("big/b.bin"), newB);
    f->open(2, f->path(QStringLiteral("big")));
    f->select(2, {QStringLiteral("a.bin"), QStringLiteral("b.bin")});

    // The volume's root, typed with its trailing separator.
    f->openWith(2, volume + QLatin1Char('/'))->button(QStringLiteral("Command1"))->click();

    QCOMPARE(f->messageTexts(), QStringList{QStringLiteral("Disk is full")});
    QCOMPARE(f->test.dialogs.messages().constFirst().icon, MessageIcon::None);
    QCOMPARE(f->dir.read(QStringLiteral("volume/a.bin")), newA);
    QCOMPARE(f->dir.read(QStringLiteral("volume/b.bin")), oldB);
    QCOMPARE(f->dir.entries(QStringLiteral("volume")), QStringList({QStringLiteral("a.bin"), QStringLiteral("b.bin")}));
    QCOMPARE(f->batch.list1(), QStringList({QStringLiteral("a.bin"), QStringLiteral("b.bin")}));
    QVERIFY(!f->copyTo.dialog(2)->isVisible());
}

void CopyFileDialogsTest::anEmptyDestinationChangesNothing()
{
    f->dir.createFile(QStringLiteral("dest/keep.txt"));
    f->open(1, f->path(QStringLiteral("dest")));
    f->select(1, {QStringLiteral("keep.txt")});
    f->copy.paneCopy(1);
    f->select(2, {QStringLiteral("a.txt")});

    CopyFileDialog *window = f->openWith(2, QString());
    window->button(QStringLiteral("Command1"))->click();

    QCOMPARE(f->messageTexts(), QStringList{QStringLiteral("Please enter destination to continue")});
    QCOMPARE(f->test.dialogs.messages().constFirst().icon, MessageIcon::None);
    QVERIFY(window->isVisible());
    QCOMPARE(f->batch.list1(), QStringList{QStringLiteral("keep.txt")});
    QCOMPARE(f->test.clipboard.text(), f->path(QStringLiteral("dest")));
    QCOMPARE(f->dir.entries(QStringLiteral("dest")), QStringList{QStringLiteral("keep.txt")});
}

void CopyFileDialogsTest::okayReadsThePaneWhenPressed()
{
    f->select(2, {QStringLiteral("a.txt")});
    CopyFileDialog *window = f->openWith(2, f->path(QStringLiteral("dest")));
    // The user changes the selection while the window is open.
    f->pane(2).fileList()->setSelected(0, false);
    f->select(2, {QStringLiteral("c.txt")});
    window->button(QStringLiteral("Command1"))->click();

    QCOMPARE(f->dir.entries(QStringLiteral("dest")), QStringList{QStringLiteral("c.txt")});
    QCOMPARE(f->batch.list1(), QStringList{QStringLiteral("c.txt")});
}

void CopyFileDialogsTest::okayWithNoSelectionEmptiesTheBatch()
{
    f->select(2, {QStringLiteral("a.txt")});
    f->copy.paneCopy(2);
    f->pane(2).fileList()->refresh();

    f->openWith(2, QStringLiteral("relative"))->button(QStringLiteral("Command1"))->click();

    // Nothing to copy, so the destination is never tried.
    QVERIFY(f->messageTexts().isEmpty());
    QVERIFY(f->batch.list1().isEmpty());
    QCOMPARE(f->test.clipboard.text(), f->path(QStringLiteral("src")));
    QVERIFY(!f->copyTo.dialog(2)->isVisible());
}

void CopyFileDialogsTest::hidingKeepsTheDestinationUnloadingDropsIt()
{
    const QString dest = f->path(QStringLiteral("dest"));
    f->openWith(2, dest)->button(QStringLiteral("Command1"))->click();
    f->copyTo.mnuCopee_Click(2);
    CopyFileDialog *window = f->copyTo.dialog(2);
    QVERIFY(window->isVisible());
    QCOMPARE(window->text2()->text(), dest);

    window->button(QStringLiteral("Command2"))->click();
    QVERIFY(!f->copyTo.dialog(2));
    f->copyTo.mnuCopee_Click(2);
    QCOMPARE(f->copyTo.dialog(2)->text2()->text(), QString());

    // The close box unloads as Cancel does.
    f->copyTo.dialog(2)->text2()->setText(dest);
    f->copyTo.dialog(2)->close();
    QVERIFY(!f->copyTo.dialog(2));
    DialogFixture::settle();
    f->copyTo.mnuCopee_Click(2);
    QCOMPARE(f->copyTo.dialog(2)->text2()->text(), QString());
    QVERIFY(f->messageTexts().isEmpty());
}

void CopyFileDialogsTest::fileMenuPicksTheFirstPaneWithASelection_data()
{
    QTest::addColumn<QList<int>>("selectedPanes");
    QTest::addColumn<int>("opened"); // 0: none, only the message

    QTest::newRow("no selection anywhere") << QList<int>{} << 0;
    QTest::newRow("only pane 3") << QList<int>{3} << 3;
    QTest::newRow("panes 4 and 2: the lower number") << QList<int>{4, 2} << 2;
}

void CopyFileDialogsTest::fileMenuPicksTheFirstPaneWithASelection()
{
    QFETCH(QList<int>, selectedPanes);
    QFETCH(int, opened);

    // Pane 1 lists no file at all, so it never passes.
    f->open(1, f->path(QStringLiteral("dest")));
    for (int n = 2; n <= PaneCount; ++n)
        f->open(n, f->path(QStringLiteral("src")));
    for (int n : selectedPanes)
        f->select(n, {QStringLiteral("c.txt")});

    f->copyTo.mnuSendFileTo_Click();

    for (int n = 1; n <= PaneCount; ++n)
        QCOMPARE(f->copyTo.dialog(n) != nullptr, n == opened);
    if (opened == 0) {
        QCOMPARE(f->messageTexts(), QStringList{QStringLiteral("Please select a file to copy first")});
        return;
    }
    QVERIFY(f->messageTexts().isEmpty());
    QCOMPARE(f->copyTo.dialog(opened)->text1()->text(), f->path(QStringLiteral("src/c.txt")));
}

QTEST_MAIN(CopyFileDialogsTest)
#include "tst_copyfiledialogs.moc"
