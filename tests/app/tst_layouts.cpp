#include "FormFixture.h"

#include "app/MainMenus.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "panes/PaneGeometry.h"
#include "platform/Twips.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// The controls of pane n by their names.
enum Kind { DriveKind, Folder, File, Button, Pattern };
QString controlName(Kind kind, int n)
{
    const QString number = QString::number(n);
    switch (kind) {
    case DriveKind: return n == 1 ? QStringLiteral("DriveBox") : QStringLiteral("Drive") + number;
    case Folder: return n == 1 ? QStringLiteral("DirBox") : QStringLiteral("DirBox") + number;
    case File: return n == 1 ? QStringLiteral("FileBox") : QStringLiteral("FileBox") + number;
    case Button: return QStringLiteral("Command") + number;
    case Pattern: return QStringLiteral("Text") + number;
    }
    return QString();
}

using Places = QHash<QString, QRect>; // name -> Left, Top, Width, Height in twips

// The heights the drive lists, buttons and pattern boxes keep in every layout.
int keptHeight(Kind kind)
{
    return kind == DriveKind ? 315 : kind == Button ? 255 : 285;
}

// Three, Four, Five and the design: columns with the design's rows; widths per pane, with
// exceptions by name.
Places columns(const QList<int> &lefts, const QList<int> &widths, const QHash<QString, int> &exceptions = {},
               const QHash<QString, int> &leftExceptions = {})
{
    const struct { Kind kind; int top; int height; } rows[] = {
        {DriveKind, 640, 315}, {Folder, 960, 2115}, {File, 3000, 3990}, {Button, 6960, 255}, {Pattern, 7200, 285},
    };
    Places places;
    for (int n = 1; n <= lefts.size(); ++n) {
        for (const auto &row : rows) {
            const QString name = controlName(row.kind, n);
            places[name] = QRect(leftExceptions.value(name, lefts.at(n - 1)), row.top,
                                 exceptions.value(name, widths.at(n - 1)), row.height);
        }
    }
    return places;
}

Places place(std::initializer_list<std::pair<const char *, QRect>> rects)
{
    Places places;
    for (const auto &[name, rect] : rects)
        places[QLatin1String(name)] = rect;
    return places;
}

} // namespace

class TestLayouts : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); m_app = std::make_unique<FormFixture>(); }
    void cleanup() { m_app.reset(); }

    void layoutsPlaceTheControls_data()
    {
        QTest::addColumn<QString>("item"); // "" for the start
        QTest::addColumn<Places>("places");

        QTest::newRow("design at start")
            << QString()
            << columns({0, 2400, 4800, 7200, 9600}, {2405, 2405, 2405, 2405, 2405},
                       {{"FileBox", 2415}, {"FileBox2", 2415}, {"FileBox3", 2415}, {"FileBox4", 2415},
                        {"FileBox5", 2385}, {"DirBox5", 2385}},
                       {{"Drive5", 9580}, {"DirBox5", 9580}});
        QTest::newRow("One Drive View")
            << QStringLiteral("mnuDeskTop1")
            << place({{"DriveBox", QRect(70, 350, 4500, 315)}, {"DirBox", QRect(70, 635, 4500, 7000)},
                      {"FileBox", QRect(4570, 355, 8000, 7480)}, {"Command1", QRect(70, 7160, 4500, 255)},
                      {"Text1", QRect(70, 7380, 4500, 285)}});
        QTest::newRow("Two Drive View")
            << QStringLiteral("DeskTop2")
            << place({{"DriveBox", QRect(180, 370, 4530, 315)}, {"DirBox", QRect(180, 650, 4530, 3400)},
                      {"Text1", QRect(180, 3580, 4530, 285)}, {"Command1", QRect(180, 3865, 4525, 255)},
                      {"Drive2", QRect(180, 4130, 4530, 315)}, {"DirBox2", QRect(180, 4363, 4530, 3570)},
                      {"Text2", QRect(180, 7350, 4530, 285)}, {"Command2", QRect(180, 7630, 4525, 255)},
                      {"FileBox", QRect(4700, 350, 7040, 3790)}, {"FileBox2", QRect(4700, 4080, 7040, 3820)}});
        QTest::newRow("Three Drive View")
            << QStringLiteral("DeskTop3") << columns({180, 4015, 7875}, {3850, 3850, 3850});
        QTest::newRow("Four Drive View")
            << QStringLiteral("DeskTop4")
            << columns({180, 3065, 5940, 8825}, {2885, 2885, 2885, 2885}, {{"FileBox3", 2880}});
        QTest::newRow("Five Drive View")
            << QStringLiteral("DeskTop5")
            << columns({15, 2400, 4785, 7170, 9550}, {2400, 2385, 2385, 2385, 2385},
                       {{"Command1", 2385}, {"DirBox2", 2390}});
    }
    void layoutsPlaceTheControls()
    {
        QFETCH(QString, item);
        QFETCH(Places, places);
        Form1 &form = m_app->start();
        const QRect text8 = form.board().text8()->geometry();
        const QRect window = form.geometry();
        // From the start, again (the layout in force changes nothing), and from the one-pane
        // layout, whose hidden panes the command shows again.
        const QStringList steps = item.isEmpty() ? QStringList{QString()}
                                                 : QStringList{item, item, QStringLiteral("mnuDeskTop1") + '>' + item};
        for (const QString &step : steps) {
            for (const QString &command : step.split(QLatin1Char('>'), Qt::SkipEmptyParts))
                form.menus().action(command)->trigger();
            for (int n = 1; n <= 5; ++n) {
                for (Kind kind : {DriveKind, Folder, File, Button, Pattern}) {
                    const QString name = controlName(kind, n);
                    const QWidget *widget = form.client()->findChild<QWidget *>(name);
                    QVERIFY2(widget, qPrintable(name));
                    QVERIFY2(widget->isHidden() != places.contains(name), qPrintable(step + ": " + name));
                    if (places.contains(name)) {
                        const QRect t = places.value(name);
                        QCOMPARE(widget->geometry(), (TwipsRect{t.x(), t.y(), t.width(), t.height()}.toPixels()));
                    }
                    if (kind == DriveKind || kind == Button || kind == Pattern)
                        QCOMPARE(widget->height(), PaneGeometry::toPixels(keptHeight(kind)));
                }
            }
        }
        QCOMPARE(form.board().text8()->geometry(), text8);
        QCOMPARE(form.geometry(), window);
    }

    void oneThenFourBringsThePanesBackUnchanged()
    {
        TestDir dir;
        for (const char *name : {"a.txt", "b.txt", "c.htm", "d.zip", "e.zip"})
            dir.createFile(QLatin1String(name));
        dir.createDir(QStringLiteral("sub"));
        dir.createFile(QStringLiteral("sub/f.txt"));
        Form1 &form = m_app->start();
        PaneBoard &board = form.board();
        board.pane(2).folderList()->setPath(dir.filePath(QStringLiteral("sub")));
        board.pane(3).folderList()->setPath(dir.path());
        board.pane(4).folderList()->setPath(dir.path());
        board.pane(4).patternBox()->setText(QStringLiteral("*.zip"));
        QTest::mouseClick(board.pane(4).button(), Qt::LeftButton);
        board.pane(3).fileList()->setListIndex(2);
        board.pane(3).fileList()->setSelected(2, true);
        board.pane(4).fileList()->setSelected(1, true);
        const QString text6 = board.text6()->text();
        const QString text7 = board.text7()->text();

        struct State { QString path, pattern, files, selected; int count, current; };
        auto state = [&board](int n) {
            const FileList &list = *board.pane(n).fileList();
            QStringList selected;
            for (int row = 0; row < list.listCount(); ++row) {
                if (list.isSelected(row))
                    selected << list.item(row);
            }
            return State{board.pane(n).folderList()->path(), list.pattern(), list.path(), selected.join(QLatin1Char(',')),
                         list.listCount(), list.listIndex()};
        };
        QList<State> before;
        for (int n = 2; n <= 4; ++n)
            before << state(n);
        // A re-read would list this file.
        dir.createFile(QStringLiteral("new.zip"));

        form.menus().action(QStringLiteral("mnuDeskTop1"))->trigger();
        for (int n = 2; n <= 5; ++n) {
            for (Kind kind : {DriveKind, Folder, File, Button, Pattern})
                QVERIFY(form.client()->findChild<QWidget *>(controlName(kind, n))->isHidden());
        }
        QVERIFY(!board.pane(1).fileList()->isHidden());

        form.menus().action(QStringLiteral("DeskTop4"))->trigger();
        for (int n = 2; n <= 4; ++n) {
            const State now = state(n);
            const State &was = before.at(n - 2);
            QVERIFY(!board.pane(n).fileList()->isHidden());
            QCOMPARE(now.path, was.path);
            QCOMPARE(now.files, was.files);
            QCOMPARE(now.pattern, was.pattern);
            QCOMPARE(now.selected, was.selected);
            QCOMPARE(now.count, was.count);
            QCOMPARE(now.current, was.current);
        }
        QCOMPARE(board.pane(4).patternBox()->text(), QStringLiteral("*.zip"));
        QCOMPARE(before.at(2).selected, QStringLiteral("e.zip"));
        QVERIFY(board.pane(5).fileList()->isHidden());
        QCOMPARE(board.pane(1).folderList()->height(), PaneGeometry::toPixels(2115));
        QCOMPARE(board.pane(1).fileList()->height(), PaneGeometry::toPixels(3990));
        QCOMPARE(board.text6()->text(), text6);
        QCOMPARE(board.text7()->text(), text7);
    }

    // Whatever the layout, the message, once shown, stands over the pattern boxes and buttons
    // that share its corner of the window.
    void messageStandsAboveThePanes_data()
    {
        QTest::addColumn<QString>("item"); // "" for the start
        QTest::addColumn<int>("pane");     // the pane whose button shows the message
        QTest::newRow("design") << QString() << 1;
        QTest::newRow("One Drive View") << QStringLiteral("mnuDeskTop1") << 1;
        QTest::newRow("Two Drive View") << QStringLiteral("DeskTop2") << 2;
        QTest::newRow("Three Drive View") << QStringLiteral("DeskTop3") << 3;
        QTest::newRow("Four Drive View") << QStringLiteral("DeskTop4") << 1;
        QTest::newRow("Five Drive View") << QStringLiteral("DeskTop5") << 5;
    }
    void messageStandsAboveThePanes()
    {
        QFETCH(QString, item);
        QFETCH(int, pane);
        TestDir dir;
        dir.createFile(QStringLiteral("a.txt"));
        Form1 &form = m_app->start();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        if (!item.isEmpty())
            form.menus().action(item)->trigger();
        Pane &p = form.board().pane(pane);
        p.folderList()->setPath(dir.path());
        p.patternBox()->setText(QStringLiteral("*.zip"));
        QTest::mouseClick(p.button(), Qt::LeftButton);

        QLineEdit *message = form.board().text8();
        QVERIFY(message->isVisible());
        QCOMPARE(message->text(), QStringLiteral("No files of this type in present directory."));
        // The whole text fits: a line edit's frame and margins take 4 pixels on each side.
        QVERIFY(message->fontMetrics().horizontalAdvance(message->text()) + 2 * 4 <= message->width());
        QCOMPARE(message->pos(), QPoint(0, Twips::pixels(7560)));
        const QRect r = message->geometry();
        for (const QPoint &point : {r.topLeft() + QPoint(2, 2), r.center(), r.bottomRight() - QPoint(2, 2),
                                    QPoint(r.left() + 2, r.bottom() - 2), QPoint(r.right() - 2, r.top() + 2)}) {
            const QWidget *shown = form.client()->childAt(point);
            QVERIFY2(shown && (shown == message || message->isAncestorOf(shown)),
                     qPrintable(QStringLiteral("(%1, %2) shows %3").arg(point.x()).arg(point.y())
                                    .arg(shown ? shown->objectName() : QStringLiteral("nothing"))));
        }
    }

private:
    std::unique_ptr<FormFixture> m_app;
};

QTEST_MAIN(TestLayouts)
#include "tst_layouts.moc"
