#include "PaneBoardFixture.h"
#include "panes/PaneBoard.h"
#include "panes/PaneGeometry.h"
#include "platform/FileErrors.h"
#include "platform/ui/ToolkitColor.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(PaneBoard::PopupKind)

namespace {
// What a pane's file list holds before a PaneHasSelection question.
enum ListState { Untouched, EmptyList, CurrentFirstUnselected, CurrentLaterUnselected, FirstSelected };
} // namespace

class TestPaneBoard : public TestCase, protected PaneBoardFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startState();
    void controlsCarryTheDesign_data();
    void controlsCarryTheDesign();
    void rightReleaseRequestsPopup();
    void clickLeavesOnlyThatPaneSelected();
    void driveChangeFailure_data();
    void driveChangeFailure();
    void driveChangeOpensTheDrivesFolder();
    void drivesAreReadAgainWhenTheListOpens();
    void paneHasSelection_data();
    void paneHasSelection();
    void paneFilePath();
    void doubleClickOnAFile();
};

void TestPaneBoard::init()
{
    failOnUnexpectedWarnings();
    QVERIFY(setUpBoard());
}

void TestPaneBoard::cleanup()
{
    tearDownBoard();
}

void TestPaneBoard::startState()
{
    for (int n = 1; n <= PaneCount; ++n) {
        const Pane &pane = m_board->pane(n);
        QCOMPARE(pane.driveList()->drive(), QStringLiteral("/"));
        QCOMPARE(pane.folderList()->path(), m_dir->path());
        QCOMPARE(pane.fileList()->path(), m_dir->path());
        // Every file, whatever the pattern box shows.
        QCOMPARE(names(pane.fileList()), (QStringList{"a.txt", "B.txt", "c.htm", "d.zip"}));
        QCOMPARE(pane.patternBox()->text(), pane.spec().designPattern);
        QCOMPARE(pane.fileList()->listIndex(), -1);
        QVERIFY(pane.fileList()->isVisible());
    }
    QCOMPARE(m_board->activePane(), 0);
    QCOMPARE(m_board->lastFolderChangePane(), 0);
    for (const QLineEdit *field : {m_board->text6(), m_board->text7(), static_cast<const QLineEdit *>(m_board->text8())}) {
        QCOMPARE(field->text(), QString());
        QVERIFY(field->isHidden());
        QCOMPARE(m_window->findChild<QLineEdit *>(field->objectName()), field);
    }
    QCOMPARE(m_board->text6()->objectName(), QStringLiteral("Text6"));
    QVERIFY(m_board->text8()->font().bold());
    QCOMPARE(m_board->text8()->geometry(), QRect(0, 504, 249, 19));
    // The start ran no change step.
    QVERIFY(m_services->drives.asked.isEmpty());
    QVERIFY(m_services->dialogs.messages().isEmpty());
}

void TestPaneBoard::controlsCarryTheDesign_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QStringList>("objectNames"); // drive, folder, file, pattern box, button
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("folderTooltip");
    QTest::addColumn<qint32>("driveColor");
    QTest::addColumn<qint32>("fileColor");
    QTest::addColumn<int>("left"); // pixels: drive list, file list

    const QString tip = QStringLiteral("Double click on a folder to show it's files in the box below");
    const QString tipOne = QStringLiteral("Double click on a folder to show it's files in  the box below");
    using namespace ToolkitColor;
    QTest::newRow("1") << 1 << QStringList{"DriveBox", "DirBox", "FileBox", "Text1", "Command1"} << "*.htm" << tipOne << White << WindowBackground << 0;
    QTest::newRow("2") << 2 << QStringList{"Drive2", "DirBox2", "FileBox2", "Text2", "Command2"} << "*.txt" << tip << WindowBackground << White << 160;
    QTest::newRow("3") << 3 << QStringList{"Drive3", "DirBox3", "FileBox3", "Text3", "Command3"} << "*.exe" << tip << WindowBackground << White << 320;
    QTest::newRow("4") << 4 << QStringList{"Drive4", "DirBox4", "FileBox4", "Text4", "Command4"} << "*.zip" << tip << WindowBackground << White << 480;
    QTest::newRow("5") << 5 << QStringList{"Drive5", "DirBox5", "FileBox5", "Text5", "Command5"} << "*.bmp" << tip << WindowBackground << White << 639;
}

void TestPaneBoard::controlsCarryTheDesign()
{
    QFETCH(int, pane);
    QFETCH(QStringList, objectNames);
    QFETCH(QString, pattern);
    QFETCH(QString, folderTooltip);
    QFETCH(qint32, driveColor);
    QFETCH(qint32, fileColor);
    QFETCH(int, left);

    const Pane &p = m_board->pane(pane);
    const QList<QWidget *> controls{p.driveList(), p.folderList(), p.fileList(), p.patternBox(), p.button()};
    for (int i = 0; i < controls.size(); ++i)
        QCOMPARE(m_window->findChild<QWidget *>(objectNames.at(i)), controls.at(i));
    QCOMPARE(p.patternBox()->text(), pattern);
    QCOMPARE(p.folderList()->toolTip(), folderTooltip);
    QCOMPARE(p.driveList()->toolTip(), QStringLiteral("Click right arrow to change to another drive"));
    QCOMPARE(p.fileList()->toolTip(), QStringLiteral("Right click for options"));
    QCOMPARE(p.patternBox()->toolTip(), QStringLiteral("Example(*.zip,*.bat) then click Change Extension"));
    QCOMPARE(p.button()->toolTip(), QStringLiteral("Enter any file extension below, then click here "));
    QCOMPARE(p.button()->text(), QStringLiteral("Change Extension"));
    QCOMPARE(ToolkitColor::backColor(p.driveList(), -1), driveColor);
    QCOMPARE(ToolkitColor::backColor(p.folderList(), -1), ToolkitColor::Teal);
    QCOMPARE(ToolkitColor::backColor(p.fileList(), -1), fileColor);
    QCOMPARE(p.fileList()->palette().color(QPalette::Base), ToolkitColor::toQColor(fileColor));
    QCOMPARE(p.driveList()->geometry().left(), left);
    QCOMPARE(p.fileList()->geometry(), PaneGeometry::designRects().at(pane - 1).fileList.toPixels());
}

void TestPaneBoard::rightReleaseRequestsPopup()
{
    clickFile(1, 1);
    QCOMPARE(m_board->text7()->text(), QStringLiteral("1"));
    QSignalSpy popups(m_board.get(), &PaneBoard::popupRequested);

    FileList *list = files(2);
    const QPoint onName = list->visualRect(list->model()->index(2, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, onName);
    QCOMPARE(popups.count(), 1);
    QCOMPARE(popups.at(0).at(0).toInt(), 2);
    QCOMPARE(popups.at(0).at(1).value<PaneBoard::PopupKind>(), PaneBoard::PopupKind::File);
    QCOMPARE(popups.at(0).at(2).toPoint(), list->viewport()->mapToGlobal(onName));
    QCOMPARE(selectedRows(list), QList<int>());
    QCOMPARE(list->listIndex(), -1);
    QCOMPARE(m_board->text7()->text(), QStringLiteral("1"));
    QCOMPARE(selectedRows(files(1)), QList<int>{1}); // no click ran: pane 1 keeps its selection

    FolderList *dirs = folders(4);
    const QPoint onFolder = dirs->visualRect(dirs->model()->index(dirs->openRow() + 1, 0)).center();
    QTest::mouseClick(dirs->viewport(), Qt::RightButton, Qt::NoModifier, onFolder);
    QCOMPARE(popups.count(), 2);
    QCOMPARE(popups.at(1).at(0).toInt(), 4);
    QCOMPARE(popups.at(1).at(1).value<PaneBoard::PopupKind>(), PaneBoard::PopupKind::Folder);
    QCOMPARE(dirs->path(), m_dir->path());

    // An empty list still asks; other buttons do not.
    files(3)->setPath(m_dir->filePath(QStringLiteral("empty")));
    QTest::mouseClick(files(3)->viewport(), Qt::RightButton);
    QCOMPARE(popups.count(), 3);
    QTest::mouseClick(files(3)->viewport(), Qt::MiddleButton);
    QTest::mouseClick(dirs->viewport(), Qt::LeftButton, Qt::NoModifier, onFolder);
    QCOMPARE(popups.count(), 3);
}

void TestPaneBoard::clickLeavesOnlyThatPaneSelected()
{
    m_board->pane(4).setVisible(false);
    m_board->pane(5).setVisible(false);
    m_board->pane(4).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(4);
    for (int n : {1, 2, 4, 5}) {
        files(n)->setSelected(0, true);
        files(n)->setListIndex(2);
    }
    m_dir->createFile(QStringLiteral("new.txt"));

    clickFile(3, 1);
    clickFile(3, 3, Qt::ControlModifier);
    QCOMPARE(m_board->text7()->text(), QStringLiteral("3"));
    QCOMPARE(selectedRows(files(3)), (QList<int>{1, 3}));
    for (int n : {1, 2, 4, 5}) {
        QCOMPARE(selectedRows(files(n)), QList<int>());
        QCOMPARE(files(n)->listIndex(), -1);
        QVERIFY(names(files(n)).contains(QStringLiteral("new.txt"))); // re-read
    }
    QVERIFY(!names(files(3)).contains(QStringLiteral("new.txt"))); // its own list is not
    QCOMPARE(names(files(4)), (QStringList{"a.txt", "B.txt", "new.txt"})); // with its own pattern
    QCOMPARE(m_board->paneHasSelection(), 3);
    QCOMPARE(m_board->text6()->text(), QString());

    // A Ctrl+click that drops pane 2's last selected name makes pane 2 active too.
    clickFile(2, 0);
    clickFile(2, 0, Qt::ControlModifier);
    QCOMPARE(m_board->text7()->text(), QStringLiteral("2"));
    QCOMPARE(selectedRows(files(3)), QList<int>());
}

void TestPaneBoard::driveChangeFailure_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("message");
    QTest::newRow("57") << 57 << "Device not connected or in use";
    QTest::newRow("61") << 61 << "Disk is full";
    QTest::newRow("68") << 68 << "Device not available or no disk in drive";
    QTest::newRow("70") << 70 << "Can't copy file to the same location";
    QTest::newRow("71") << 71 << "Insert disk to continue";
    QTest::newRow("76") << 76 << "Either the destination doesn't exist or the path to the folder is misspelled or incomplete";
    QTest::newRow("53: none") << 53 << "";
    QTest::newRow("75: none") << 75 << "";
    QTest::newRow("other: none") << int(FileErrors::Other) << "";
}

void TestPaneBoard::driveChangeFailure()
{
    QFETCH(int, error);
    QFETCH(QString, message);
    const QString stick = QStringLiteral("/media/stick");
    m_services->drives.errors.insert(stick, error);
    m_board->pane(2).patternBox()->setText(QStringLiteral("*.none"));
    m_board->changeExtension(2);
    if (!message.isEmpty())
        m_services->dialogs.answerMessage(MessageAnswer::Ok);

    m_board->pane(2).driveList()->setDrive(stick);
    QCOMPARE(m_services->drives.asked, QStringList{stick});
    if (message.isEmpty()) {
        QVERIFY(m_services->dialogs.messages().isEmpty());
    } else {
        QCOMPARE(m_services->dialogs.messages().size(), 1);
        const MessageRequest &shown = m_services->dialogs.messages().first();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, Dialogs::applicationTitle());
        QCOMPARE(shown.buttons, MessageButtons::Ok);
    }
    // The new drive shows; the rest stays as it was.
    QCOMPARE(m_board->pane(2).driveList()->drive(), stick);
    QCOMPARE(folders(2)->path(), m_dir->path());
    QCOMPARE(files(2)->path(), m_dir->path());
    QCOMPARE(m_board->text6()->text(), QString());
    QVERIFY(!m_board->text8()->isHidden());
}

// A volume mounted after the start shows up the next time a drive list opens, and one that
// went away leaves; the drive shown stays and no drive change runs.
void TestPaneBoard::drivesAreReadAgainWhenTheListOpens()
{
    DriveList *list = m_board->pane(2).driveList();
    const QString shown = list->drive();
    QCOMPARE(list->count(), 1);
    const Drive stick{QStringLiteral("/media/stick"), QStringLiteral("STICK")};
    m_services->drives.list.append(stick);
    QSignalSpy changes(list, &DriveList::changed);

    list->setFocus();
    QTest::keyClick(list, Qt::Key_F4);
    QTRY_VERIFY(list->view()->isVisible());
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->itemText(1), stick.displayText());
    QCOMPARE(list->drive(), shown);
    list->hidePopup();
    // The other panes' lists are read when they open.
    QCOMPARE(m_board->pane(3).driveList()->count(), 1);

    m_services->drives.list.removeLast();
    QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(list->view()->isVisible());
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->drive(), shown);
    list->hidePopup();

    QCOMPARE(changes.count(), 0);
    QVERIFY(m_services->drives.asked.isEmpty());
}

void TestPaneBoard::driveChangeOpensTheDrivesFolder()
{
    const QString stick = QStringLiteral("/media/stick");
    const QString sub1 = m_dir->filePath(QStringLiteral("sub1"));
    m_services->drives.folders.insert(stick, sub1);
    m_board->pane(3).driveList()->setDrive(stick);
    QCOMPARE(folders(3)->path(), sub1);
    QCOMPARE(files(3)->path(), sub1);
    QCOMPARE(m_board->text6()->text(), QStringLiteral("3"));

    // Back to a drive whose folder is the one open: no folder change, so pane 1 stays the
    // one that changed last.
    folders(1)->setPath(sub1);
    m_services->drives.folders.insert(QStringLiteral("/"), sub1);
    m_board->pane(3).driveList()->setDrive(QStringLiteral("/"));
    QCOMPARE(m_services->drives.asked, (QStringList{stick, "/"}));
    QCOMPARE(m_board->lastFolderChangePane(), 1);
    QCOMPARE(m_board->text6()->text(), QStringLiteral("1"));
}

void TestPaneBoard::paneHasSelection_data()
{
    QTest::addColumn<QList<int>>("states"); // ListState of panes 1..5
    QTest::addColumn<int>("expected");
    QTest::newRow("nothing anywhere") << QList<int>{Untouched, Untouched, Untouched, Untouched, Untouched} << 0;
    QTest::newRow("current first item unselected fails") << QList<int>{CurrentFirstUnselected, Untouched, Untouched, Untouched, Untouched} << 0;
    QTest::newRow("later current passes without selection") << QList<int>{CurrentFirstUnselected, Untouched, CurrentLaterUnselected, Untouched, Untouched} << 3;
    QTest::newRow("first item selected passes") << QList<int>{Untouched, Untouched, Untouched, FirstSelected, Untouched} << 4;
    QTest::newRow("empty list never passes") << QList<int>{EmptyList, EmptyList, Untouched, Untouched, CurrentLaterUnselected} << 5;
    QTest::newRow("first passing pane wins") << QList<int>{Untouched, FirstSelected, CurrentLaterUnselected, Untouched, Untouched} << 2;
    QTest::newRow("hidden pane counts") << QList<int>{Untouched, Untouched, Untouched, Untouched, -CurrentLaterUnselected} << 5;
}

void TestPaneBoard::paneHasSelection()
{
    QFETCH(QList<int>, states);
    QFETCH(int, expected);
    for (int n = 1; n <= PaneCount; ++n) {
        int state = states.at(n - 1);
        if (state < 0) { // a negative state: the same in a hidden pane
            m_board->pane(n).setVisible(false);
            state = -state;
        }
        FileList *list = files(n);
        switch (ListState(state)) {
        case Untouched:
            break;
        case EmptyList:
            list->setPath(m_dir->filePath(QStringLiteral("empty")));
            break;
        case CurrentFirstUnselected:
            clickFile(n, 0);
            clickFile(n, 0, Qt::ControlModifier);
            QCOMPARE(list->listIndex(), 0);
            break;
        case CurrentLaterUnselected:
            list->setListIndex(2);
            break;
        case FirstSelected:
            list->setSelected(0, true);
            break;
        }
    }
    QCOMPARE(m_board->paneHasSelection(), expected);
}

void TestPaneBoard::paneFilePath()
{
    clickFile(2, 1);
    QCOMPARE(m_board->paneFilePath(2), m_dir->path() + "/B.txt");
    QCOMPARE(m_board->paneFilePath(4), m_dir->path() + "/"); // no current file

    // At a root the folder already ends in "/".
    folders(1)->setPath(QStringLiteral("/"));
    files(1)->setPath(m_dir->path());
    files(1)->setListIndex(0);
    QCOMPARE(m_board->paneFilePath(1), QStringLiteral("/a.txt"));
}

void TestPaneBoard::doubleClickOnAFile()
{
    QSignalSpy opens(m_board.get(), &PaneBoard::fileDoubleClicked);
    FileList *list = files(4);
    const QPoint where = list->visualRect(list->model()->index(3, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    QCOMPARE(opens.count(), 1);
    QCOMPARE(opens.at(0).at(0).toInt(), 4);
    QCOMPARE(list->fileName(), QStringLiteral("d.zip"));
}

QTEST_MAIN(TestPaneBoard)
#include "tst_paneboard.moc"
