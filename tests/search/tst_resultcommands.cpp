#include "search/DigFixture.h"
#include "search/ResultPrint.h"
#include "support/TestCase.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

// The pop-ups the search window asked to show; each may choose an item, as the user would.
struct PopupRecorder
{
    QList<QMenu *> shown;
    QList<QPoint> positions;
    QString choose; // the caption of the item to choose, "" for none
    ResultLinks links()
    {
        ResultLinks links;
        links.popup = [this](QMenu *menu, const QPoint &globalPos) {
            shown << menu;
            positions << globalPos;
            for (QAction *item : menu->actions()) {
                if (!choose.isEmpty() && item->text() == choose)
                    item->trigger();
            }
        };
        return links;
    }
};

QStringList captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *item : menu->actions())
        texts << item->text();
    return texts;
}

// Makes row current without selecting it; -1 leaves the list with no current item.
void makeCurrent(ResultList *list, int row)
{
    if (row >= 0)
        list->selectionModel()->setCurrentIndex(list->model()->index(row, 0), QItemSelectionModel::NoUpdate);
}

QList<int> selectedRows(const ResultList *list)
{
    QList<int> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->isSelected(row))
            rows << row;
    }
    return rows;
}

QString pdfText(const QString &pdf)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return QString();
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(20000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}
} // namespace

// The commands of the search window's result list that stay inside the search: Run, Print,
// Select all and the pop-up.
class TestResultCommands : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void run_data();
    void run();
    void selectAll();
    void pagination_data();
    void pagination();
    void wrapping_data();
    void wrapping();
    void printsEveryEntryIntoPdf();
    void printCancelPrintsNothing();
    void printRefusals_data();
    void printRefusals();
    void popupOnRightRelease_data();
    void popupOnRightRelease();
    void popupItemsRunTheFileCommands();
    void rightButtonSelectsNothing();
    void menuKeysWinInTheList_data();
    void menuKeysWinInTheList();
};

void TestResultCommands::run_data()
{
    QTest::addColumn<QString>("name"); // "" for a list with no current item
    QTest::addColumn<bool>("starts");

    QTest::newRow("exe, lower case") << "app.exe" << true;
    QTest::newRow("EXE, upper case") << "APP.EXE" << true;
    QTest::newRow("Exe, capitalised") << "App.Exe" << true;
    QTest::newRow("bat") << "tool.bat" << true;
    QTest::newRow("com with no dot") << "intercom" << true;
    QTest::newRow("SCR") << "saver.SCR" << true;
    QTest::newRow("Dll") << "lib.Dll" << true;
    QTest::newRow("eXe: a mix of case that is not listed") << "app.eXe" << false;
    QTest::newRow("txt") << "notes.txt" << false;
    QTest::newRow("shell characters stay in the name") << "x;rm -rf ~;.exe" << true;
    QTest::newRow("command substitution stays in the name") << "$(touch pwned) `id`.com" << true;
    QTest::newRow("blank in the name") << "my app.bat" << true;
    QTest::newRow("no current item") << "" << false;
}

void TestResultCommands::run()
{
    QFETCH(QString, name);
    QFETCH(bool, starts);
    DigFixture f;
    const QString path = name.isEmpty() ? QString() : QStringLiteral("/found/dir/") + name;
    f.dig().List1()->results().setPaths({QStringLiteral("/found/other.exe"), QStringLiteral("/found/b.txt")});
    if (!name.isEmpty()) {
        f.dig().List1()->results().append({path});
        makeCurrent(f.dig().List1(), 2);
    }
    f.test.clipboard.setText(QStringLiteral("a pane's source folder"));

    f.dig().menus().action(QStringLiteral("mnuExecute"))->trigger();

    // The clipboard holds the text whether or not anything starts: empty with no current item.
    QCOMPARE(f.test.clipboard.text(), path);
    if (starts) {
        QCOMPARE(f.test.programs.starts.size(), 1);
        // The whole path is the program, no shell in front and nothing split off.
        QCOMPARE(f.test.programs.starts.at(0).program, path);
        QCOMPARE(f.test.programs.starts.at(0).style, WindowStyle::Normal);
        QCOMPARE(f.test.programs.starts.at(0).folder, QStringLiteral("/found/dir"));
    } else {
        QVERIFY(f.test.programs.starts.isEmpty());
    }
    // The list is as it was.
    QCOMPARE(f.dig().List1()->count(), name.isEmpty() ? 2 : 3);
}

void TestResultCommands::selectAll()
{
    DigFixture f;
    QAction *item = f.dig().menus().action(QStringLiteral("mnuSelectall"));
    QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    item->trigger();
    QCOMPARE(f.dig().List1()->count(), 0);
    QVERIFY(f.dig().List1()->currentText().isEmpty());

    f.dig().List1()->results().setPaths({QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c")});
    makeCurrent(f.dig().List1(), 1);
    f.dig().List1()->selectionModel()->select(f.dig().List1()->model()->index(0, 0), QItemSelectionModel::Select);
    item->trigger();
    QCOMPARE(selectedRows(f.dig().List1()), (QList<int>{0, 1, 2}));
    QCOMPARE(f.dig().List1()->currentText(), QStringLiteral("/b"));
}

void TestResultCommands::pagination_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<int>("linesPerPage");
    QTest::addColumn<QList<int>>("pageSizes");

    QTest::newRow("no entries: the closing lines alone") << 0 << 50 << QList<int>{3};
    QTest::newRow("one entry") << 1 << 50 << QList<int>{4};
    QTest::newRow("200 entries on pages of 50") << 200 << 50 << QList<int>{50, 50, 50, 50, 3};
    QTest::newRow("the closing line alone on the last page") << 47 << 50 << QList<int>{50};
    QTest::newRow("a page too small for one line still takes one") << 1 << 0 << QList<int>{1, 1, 1, 1};
}

void TestResultCommands::pagination()
{
    QFETCH(int, entries);
    QFETCH(int, linesPerPage);
    QFETCH(QList<int>, pageSizes);
    QStringList paths;
    for (int i = 0; i < entries; ++i)
        paths << QStringLiteral("/found/file%1.txt").arg(i);

    const QStringList lines = ResultPrint::lines(paths);
    QCOMPARE(lines.size(), entries + 3);
    QCOMPARE(lines.mid(0, entries), paths);
    QCOMPARE(lines.mid(entries), (QStringList{QString(), QString(), QStringLiteral("PRINTED BY PANOPTRA")}));

    const QList<QStringList> pages = ResultPrint::pages(lines, linesPerPage);
    QList<int> sizes;
    QStringList joined;
    for (const QStringList &page : pages) {
        sizes << int(page.size());
        joined << page;
    }
    QCOMPARE(sizes, pageSizes);
    QCOMPARE(joined, lines);
}

void TestResultCommands::wrapping_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("fits") << "abcd" << QStringList{"abcd"};
    QTest::newRow("empty line") << "" << QStringList{""};
    QTest::newRow("goes on over the next lines") << "abcdefghij" << QStringList{"abcd", "efgh", "ij"};
    QTest::newRow("a character pair stays whole")
        << QStringLiteral("abc\U0001F600xyz") << QStringList{"abc", QStringLiteral("\U0001F600xy"), "z"};
}

void TestResultCommands::wrapping()
{
    QFETCH(QString, line);
    QFETCH(QStringList, pieces);
    // Four code units a line.
    QCOMPARE(ResultPrint::wrapped(line, [](const QString &piece) { return piece.size() <= 4; }), pieces);
}

void TestResultCommands::printsEveryEntryIntoPdf()
{
    TestDir tree;
    QStringList names;
    for (int i = 0; i < 120; ++i)
        names << QStringLiteral("found-%1.log").arg(i, 3, 10, QLatin1Char('0'));
    for (const QString &name : names)
        tree.createFile(name);
    // Markup in a name prints as the characters it is; a name wider than the paper goes on
    // over the next lines.
    tree.createFile(QStringLiteral("<b>bold.log"));
    tree.createFile(QString(200, QLatin1Char('w')) + QStringLiteral(".log"));
    DigFixture f;
    f.start(tree.path(), QStringLiteral("*.log"), false);
    QCOMPARE(f.dig().List1()->count(), 122);
    f.test.dialogs.answerPrint(true);
    const qsizetype messagesBefore = f.messages().size();

    f.dig().menus().action(QStringLiteral("mnuPrint"))->trigger();

    QCOMPARE(f.test.dialogs.printRequests().size(), 1);
    QVERIFY(!f.test.dialogs.printRequests().at(0).selectionChoice);
    QVERIFY(!f.test.dialogs.printRequests().at(0).printToFile);
    const QString text = pdfText(f.test.home() + QStringLiteral("/print.pdf"));
    QVERIFY2(!text.isEmpty(), "pdftotext (poppler-utils) is needed and the PDF must hold text");
    // Every entry on a line of its own in list order, then the closing line; more than one page.
    QStringList printed;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed().remove(QLatin1Char('\f'));
        if (!trimmed.isEmpty())
            printed << trimmed;
    }
    const QStringList expected = ResultPrint::lines(f.entries()).filter(QRegularExpression(QStringLiteral(".")));
    QCOMPARE(printed.join(QString()), expected.join(QString()));
    QVERIFY(printed.size() > expected.size());
    QVERIFY(printed.contains(tree.path() + QStringLiteral("/<b>bold.log")));
    QVERIFY(text.count(QLatin1Char('\f')) >= 2);
    QCOMPARE(f.messages().size(), messagesBefore);
}

void TestResultCommands::printCancelPrintsNothing()
{
    DigFixture f;
    f.dig().List1()->results().setPaths({QStringLiteral("/found/a.txt"), QStringLiteral("/found/b.txt")});
    const QString pdf = f.test.home() + QStringLiteral("/print.pdf");
    for (int use = 1; use <= 2; ++use) {
        f.test.dialogs.answerPrint(false);
        f.dig().mnuPrint_Click();
        // The dialog is asked on every use; a cancel prints nothing and says nothing.
        QCOMPARE(f.test.dialogs.printRequests().size(), use);
        QVERIFY(!QFile::exists(pdf));
    }
    QVERIFY(f.messages().isEmpty());
}

void TestResultCommands::printRefusals_data()
{
    QTest::addColumn<bool>("listed");
    QTest::addColumn<bool>("printerAvailable");
    QTest::addColumn<QString>("message");

    QTest::newRow("empty list") << false << true << "No files presently listed.";
    QTest::newRow("empty list, no printer") << false << false << "No files presently listed.";
    QTest::newRow("no printer") << true << false << "No printer is available.";
}

void TestResultCommands::printRefusals()
{
    QFETCH(bool, listed);
    QFETCH(bool, printerAvailable);
    QFETCH(QString, message);
    DigFixture f;
    if (listed)
        f.dig().List1()->results().setPaths({QStringLiteral("/found/a.txt")});
    f.test.printer.available = printerAvailable;

    f.dig().mnuPrint_Click();

    QCOMPARE(f.messages(), QStringList{message});
    QCOMPARE(f.test.dialogs.messages().at(0).title, QStringLiteral("Panoptra"));
    QCOMPARE(f.test.dialogs.messages().at(0).buttons, MessageButtons::Ok);
    QVERIFY(f.test.dialogs.printRequests().isEmpty());
    QVERIFY(!QFile::exists(f.test.home() + QStringLiteral("/print.pdf")));
}

void TestResultCommands::popupOnRightRelease_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("shows");
    QTest::newRow("right button") << Qt::RightButton << true;
    QTest::newRow("left button") << Qt::LeftButton << false;
    QTest::newRow("middle button") << Qt::MiddleButton << false;
}

void TestResultCommands::popupOnRightRelease()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, shows);
    PopupRecorder popups;
    DigFixture f(DigTiming{0, 0, 0}, popups.links());
    f.dig().List1()->results().setPaths({QStringLiteral("/found/a.txt")});
    QWidget *viewport = f.dig().List1()->viewport();

    QTest::mouseClick(viewport, button, Qt::NoModifier, QPoint(5, 5));

    QCOMPARE(popups.shown.size(), shows ? 1 : 0);
    if (shows) {
        QCOMPARE(captions(popups.shown.at(0)),
                 (QStringList{QStringLiteral("Copy"), QStringLiteral("SelectAll"), QStringLiteral("Run"),
                              QStringLiteral("View Text ")}));
        QCOMPARE(popups.positions.at(0), viewport->mapToGlobal(QPoint(5, 5)));
    }
}

void TestResultCommands::popupItemsRunTheFileCommands()
{
    PopupRecorder popups;
    DigFixture f(DigTiming{0, 0, 0}, popups.links());
    f.dig().List1()->results().setPaths({QStringLiteral("/found/a.txt"), QStringLiteral("/found/tool.bat")});
    makeCurrent(f.dig().List1(), 1);

    popups.choose = QStringLiteral("Run");
    f.dig().List1_MouseUp(Qt::RightButton, QPoint(1, 1));
    QCOMPARE(f.test.clipboard.text(), QStringLiteral("/found/tool.bat"));
    QCOMPARE(f.test.programs.starts.size(), 1);

    popups.choose = QStringLiteral("SelectAll");
    f.dig().List1_MouseUp(Qt::RightButton, QPoint(1, 1));
    QCOMPARE(selectedRows(f.dig().List1()), (QList<int>{0, 1}));
}

void TestResultCommands::rightButtonSelectsNothing()
{
    PopupRecorder popups;
    DigFixture f(DigTiming{0, 0, 0}, popups.links());
    f.dig().List1()->results().setPaths({QStringLiteral("/found/a.txt"), QStringLiteral("/found/b.txt")});
    const QRect second = f.dig().List1()->visualRect(f.dig().List1()->model()->index(1, 0));

    QTest::mouseClick(f.dig().List1()->viewport(), Qt::RightButton, Qt::NoModifier, second.center());
    QVERIFY(selectedRows(f.dig().List1()).isEmpty());
    QVERIFY(f.dig().List1()->currentText().isEmpty());

    QTest::mouseClick(f.dig().List1()->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    QCOMPARE(selectedRows(f.dig().List1()), QList<int>{1});
    QCOMPARE(popups.shown.size(), 1);
}

void TestResultCommands::menuKeysWinInTheList_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QList<int>>("selected");

    // The list's own Ctrl+C would put the current row's text on the clipboard (the menu's Copy
    // reaching the batch is tested with the main window).
    QTest::newRow("Ctrl+C is not the list's own copy") << int(Qt::Key_C) << "before" << QList<int>{};
    QTest::newRow("Ctrl+E is Run") << int(Qt::Key_E) << "/found/b.txt" << QList<int>{};
    QTest::newRow("Ctrl+S is Select all") << int(Qt::Key_S) << "before" << QList<int>{0, 1};
}

void TestResultCommands::menuKeysWinInTheList()
{
    QFETCH(int, key);
    QFETCH(QString, clipboard);
    QFETCH(QList<int>, selected);
    DigFixture f;
    f.dig().List1()->results().setPaths({QStringLiteral("/found/a.txt"), QStringLiteral("/found/b.txt")});
    makeCurrent(f.dig().List1(), 1);
    f.test.clipboard.setText(QStringLiteral("before"));
    f.dig().activateWindow();
    f.dig().List1()->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&f.dig()));

    QTest::keyClick(f.dig().List1(), Qt::Key(key), Qt::ControlModifier);

    QCOMPARE(f.test.clipboard.text(), clipboard);
    QCOMPARE(selectedRows(f.dig().List1()), selected);
}

QTEST_MAIN(TestResultCommands)
#include "tst_resultcommands.moc"
