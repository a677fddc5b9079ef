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

QList<int> selectedRows(const FileList *list)
{
    QList<int> rows;
    for (int row = 0; row < list->listCount(); ++row) {
        if (list->isSelected(row))
            rows << row;
    }
    return rows;
}

QStringList names(const FileList *list)
{
    QStringList all;
    for (int row = 0; row < list->listCount(); ++row)
        all << list->item(row);
    return all;
}

// Whether both lists show one read's names, not two copies.
bool sharesNames(const FileList *list, const FileList *other)
{
    return list->names().sharesWith(other->names());
}

QStringList subfolderPaths(const FolderList *list)
{
    QStringList paths;
    for (int row = list->openRow() + 1; row < list->rowCount(); ++row)
        paths << list->rowPath(row);
    return paths;
}
} // namespace

class TestPaneBoard : public TestCase
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
    void folderChange();
    void folderChangeHidesMessageOnlyWithNames_data();
    void folderChangeHidesMessageOnlyWithNames();
    void changeExtension_data();
    void changeExtension();
    void driveChangeFailure_data();
    void driveChangeFailure();
    void driveChangeOpensTheDrivesFolder();
    void drivesAreReadAgainWhenTheListOpens();
    void paneHasSelection_data();
    void paneHasSelection();
    void paneFilePath();
    void refreshAllAndRefreshPane();
    void panesOnOneFolderShareOneRead();
    void folderChangeTakesOnlyCurrentNames();
    void doubleClickOnAFile();

private:
    void clickFile(int pane, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    FileList *files(int pane) const { return m_board->pane(pane).fileList(); }
    FolderList *folders(int pane) const { return m_board->pane(pane).folderList(); }

    std::unique_ptr<TestServices> m_services;
    std::unique_ptr<TestDir> m_dir;
    QString m_oldCurrent;
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<PaneBoard> m_board;
};

void TestPaneBoard::init()
{
    failOnUnexpectedWarnings();
    m_services = std::make_unique<TestServices>();
    m_dir = std::make_unique<TestDir>();
    for (const char *name : {"a.txt", "B.txt", "c.htm", "d.zip"})
        m_dir->createFile(QString::fromLatin1(name));
    m_dir->createFile(QStringLiteral("sub1/x.txt"));
    m_dir->createDir(QStringLiteral("empty"));
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));

    m_window = std::make_unique<QWidget>();
    m_window->resize(792, 529);
    m_board = std::make_unique<PaneBoard>(m_window.get(), m_services->services());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestPaneBoard::cleanup()
{
    m_board.reset();
    m_window.reset();
    QDir::setCurrent(m_oldCurrent);
    m_dir.reset();
    m_services.reset();
}

void TestPaneBoard::clickFile(int pane, int row, Qt::KeyboardModifiers modifiers)
{
    FileList *list = files(pane);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualRect(list->model()->index(row, 0)).center());
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

void TestPaneBoard::folderChange()
{
    m_board->pane(5).setVisible(false);
    m_board->pane(2).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(2);
    clickFile(1, 0);
    const QString added = m_dir->createDir(QStringLiteral("added"));
    const QString sub1 = m_dir->filePath(QStringLiteral("sub1"));

    folders(2)->setPath(sub1);
    QCOMPARE(m_board->text6()->text(), QStringLiteral("2"));
    QCOMPARE(m_board->text7()->text(), QStringLiteral("1"));
    QCOMPARE(files(2)->path(), sub1);
    QCOMPARE(names(files(2)), QStringList{"x.txt"}); // with pane 2's own pattern
    QCOMPARE(files(2)->pattern(), QStringLiteral("*.txt"));
    for (int n : {1, 3, 4, 5}) {
        QCOMPARE(folders(n)->path(), m_dir->path());
        QVERIFY2(subfolderPaths(folders(n)).contains(added), qPrintable(QString::number(n)));
        QCOMPARE(files(n)->path(), m_dir->path());
    }
    QVERIFY(!subfolderPaths(folders(2)).contains(added));
    QCOMPARE(selectedRows(files(1)), QList<int>{0}); // file lists are not refreshed

    // The pattern holds through the next folder change.
    folders(2)->setPath(m_dir->path());
    QCOMPARE(names(files(2)), (QStringList{"a.txt", "B.txt"}));
}

void TestPaneBoard::panesOnOneFolderShareOneRead()
{
    const QStringList all{"a.txt", "B.txt", "c.htm", "d.zip"};
    for (int n = 2; n <= PaneCount; ++n) {
        QVERIFY2(sharesNames(files(n), files(1)), qPrintable(QString::number(n)));
        QCOMPARE(names(files(n)), all);
        QCOMPARE(subfolderPaths(folders(n)), subfolderPaths(folders(1)));
    }

    m_board->pane(3).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(3);
    const QString sub1 = m_dir->filePath(QStringLiteral("sub1"));
    folders(4)->setPath(sub1);
    QCOMPARE(names(files(3)), (QStringList{"a.txt", "B.txt"}));
    QCOMPARE(names(files(4)), QStringList{"x.txt"});
    for (int n : {1, 2, 5})
        QCOMPARE(names(files(n)), all);
    // The others keep their one set of names; the two that left hold their own.
    for (int n : {2, 5})
        QVERIFY(sharesNames(files(n), files(1)));
    for (int n : {3, 4})
        QVERIFY(!sharesNames(files(n), files(1)));

    // One selection and current item per pane, though three share their names.
    files(1)->setSelected(0, true);
    files(2)->setSelected(1, true);
    files(2)->setSelected(3, true);
    files(2)->setListIndex(3);
    files(3)->setSelected(1, true);
    files(4)->setListIndex(0);
    QCOMPARE(selectedRows(files(1)), QList<int>{0});
    QCOMPARE(selectedRows(files(2)), (QList<int>{1, 3}));
    QCOMPARE(selectedRows(files(3)), QList<int>{1});
    QCOMPARE(selectedRows(files(4)), QList<int>());
    QCOMPARE(selectedRows(files(5)), QList<int>());
    QCOMPARE(files(1)->listIndex(), -1);
    QCOMPARE(files(2)->fileName(), QStringLiteral("d.zip"));
    QCOMPARE(files(4)->fileName(), QStringLiteral("x.txt"));

    // A new file shows in a pane once that pane refreshes, and only there.
    m_dir->createFile(QStringLiteral("e.txt"));
    m_board->refreshPane(1);
    QCOMPARE(names(files(1)), (QStringList{"a.txt", "B.txt", "c.htm", "d.zip", "e.txt"}));
    QCOMPARE(names(files(2)), all);
    QCOMPARE(selectedRows(files(2)), (QList<int>{1, 3}));
    QCOMPARE(selectedRows(files(1)), QList<int>());

    m_board->refreshAll();
    for (int n : {2, 5}) {
        QCOMPARE(names(files(n)), names(files(1)));
        QVERIFY(sharesNames(files(n), files(1)));
    }
    QCOMPARE(names(files(3)), (QStringList{"a.txt", "B.txt", "e.txt"}));
    QCOMPARE(names(files(4)), QStringList{"x.txt"});
    for (int n = 1; n <= PaneCount; ++n)
        QCOMPARE(selectedRows(files(n)), QList<int>());

    // Back to every name: pane 3 takes the names the others show, the folder being unchanged.
    m_board->pane(3).patternBox()->clear();
    m_board->changeExtension(3);
    QVERIFY(sharesNames(files(3), files(1)));
    QCOMPARE(files(3)->pattern(), QString());
    m_dir->createFile(QStringLiteral("f.txt"));
    m_board->pane(3).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(3);
    m_board->pane(5).patternBox()->setText(QStringLiteral("*.txt"));
    m_board->changeExtension(5);
    QVERIFY(sharesNames(files(5), files(3)));
    QCOMPARE(names(files(5)), (QStringList{"a.txt", "B.txt", "e.txt", "f.txt"}));
    m_board->pane(5).patternBox()->clear();
    m_board->changeExtension(5); // pane 1's names miss f.txt: pane 5 reads for itself
    QVERIFY(!sharesNames(files(5), files(1)));
    QCOMPARE(names(files(5)), (QStringList{"a.txt", "B.txt", "c.htm", "d.zip", "e.txt", "f.txt"}));
}

void TestPaneBoard::folderChangeTakesOnlyCurrentNames()
{
    const QString sub1 = m_dir->filePath(QStringLiteral("sub1"));
    folders(4)->setPath(sub1);
    folders(5)->setPath(sub1);
    QVERIFY(sharesNames(files(5), files(4)));
    QCOMPARE(names(files(5)), QStringList{"x.txt"});

    // Pane 4's names of sub1 are out of date: pane 2 reads the folder itself.
    m_dir->createFile(QStringLiteral("sub1/y.txt"));
    folders(2)->setPath(sub1);
    QCOMPARE(names(files(2)), (QStringList{"x.txt", "y.txt"}));
    QCOMPARE(names(files(4)), QStringList{"x.txt"});
    QVERIFY(!sharesNames(files(2), files(4)));

    // Another pattern is another list, even of the same folder.
    m_board->pane(3).patternBox()->setText(QStringLiteral("y*"));
    m_board->changeExtension(3);
    folders(3)->setPath(sub1);
    QCOMPARE(names(files(3)), QStringList{"y.txt"});
    QCOMPARE(files(3)->pattern(), QStringLiteral("y*"));

    // Back to the start folder, which pane 1 shows as read: its names serve.
    folders(2)->setPath(m_dir->path());
    QVERIFY(sharesNames(files(2), files(1)));
    QCOMPARE(names(files(2)), (QStringList{"a.txt", "B.txt", "c.htm", "d.zip"}));
}

void TestPaneBoard::folderChangeHidesMessageOnlyWithNames_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<bool>("shownAfter");
    QTest::newRow("names hide it") << "sub1" << true << false;
    QTest::newRow("no names keep it shown") << "empty" << true << true;
    QTest::newRow("no names keep it hidden") << "empty" << false << false;
    QTest::newRow("names keep it hidden") << "sub1" << false << false;
}

void TestPaneBoard::folderChangeHidesMessageOnlyWithNames()
{
    QFETCH(QString, folder);
    QFETCH(bool, shownBefore);
    QFETCH(bool, shownAfter);
    // Pane 2's button shows the message, pane 4's folder change decides.
    m_board->pane(2).patternBox()->setText(shownBefore ? "*.none" : "*.txt");
    m_board->changeExtension(2);
    QCOMPARE(m_board->text8()->isHidden(), !shownBefore);
    folders(4)->setPath(m_dir->filePath(folder));
    QCOMPARE(m_board->text6()->text(), QStringLiteral("4"));
    QCOMPARE(m_board->text8()->isHidden(), !shownAfter);
}

void TestPaneBoard::changeExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("zip files") << "*.zip" << QStringList{"d.zip"};
    QTest::newRow("two patterns") << "*.htm;*.ZIP" << QStringList{"c.htm", "d.zip"};
    QTest::newRow("two patterns as the tooltip writes them") << "*.zip,*.htm" << QStringList{"c.htm", "d.zip"};
    QTest::newRow("no exe files") << "*.exe" << QStringList{};
    QTest::newRow("a name without wildcard") << "b.TXT" << QStringList{"B.txt"};
    QTest::newRow("taken as typed, blank and all") << "*.txt " << QStringList{};
    QTest::newRow("empty lists all") << "" << QStringList{"a.txt", "B.txt", "c.htm", "d.zip"};
}

void TestPaneBoard::changeExtension()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    clickFile(3, 1);
    clickFile(3, 2, Qt::ShiftModifier);
    m_board->pane(1).patternBox()->setText(QStringLiteral("*.none"));
    m_board->changeExtension(1); // the message is up
    QVERIFY(!m_board->text8()->isHidden());

    m_board->pane(3).patternBox()->setText(typed);
    QTest::mouseClick(m_board->pane(3).button(), Qt::LeftButton);
    QCOMPARE(files(3)->pattern(), typed);
    QCOMPARE(names(files(3)), listed);
    QCOMPARE(selectedRows(files(3)), QList<int>());
    QCOMPARE(m_board->text8()->isHidden(), !listed.isEmpty());
    if (listed.isEmpty()) {
        QCOMPARE(m_board->text8()->text(), QStringLiteral("No files of this type in present directory."));
        QCOMPARE(m_board->text8()->cursorPosition(), 0); // the start shows in the narrow field
    }
    QCOMPARE(m_board->text7()->text(), QStringLiteral("3"));
    QCOMPARE(names(files(2)).size(), 4); // no other pane is touched
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

void TestPaneBoard::refreshAllAndRefreshPane()
{
    m_board->fileListClick(4);
    for (int n = 1; n <= PaneCount; ++n)
        files(n)->setSelected(1, true);
    QFile::remove(m_dir->filePath(QStringLiteral("c.htm")));
    const QString added = m_dir->createDir(QStringLiteral("added"));

    m_board->refreshPane(2);
    QCOMPARE(names(files(2)), (QStringList{"a.txt", "B.txt", "d.zip"}));
    QCOMPARE(selectedRows(files(2)), QList<int>());
    QCOMPARE(selectedRows(files(3)), QList<int>{1});
    QCOMPARE(names(files(3)).size(), 4);

    m_board->pane(5).setVisible(false);
    m_board->refreshAll();
    for (int n = 1; n <= PaneCount; ++n) {
        QCOMPARE(names(files(n)), (QStringList{"a.txt", "B.txt", "d.zip"}));
        QCOMPARE(selectedRows(files(n)), QList<int>());
        QVERIFY(!subfolderPaths(folders(n)).contains(added)); // folder lists are left alone
    }
    QCOMPARE(m_board->activePane(), 4);
    QCOMPARE(m_board->text7()->text(), QStringLiteral("4"));
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
