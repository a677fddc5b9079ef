#include "PictureFixtures.h"
#include "WmfFixtures.h"

#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "picview/RealView.h"
#include "picview/RealViewDesign.h"
#include "picview/ViewGraphic.h"
#include "platform/ui/MenuTree.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {
// The main window's panes on real folders, View Graphic on them, real clipboard and files.
struct Viewer
{
    TestServices test;
    QWidget window;
    PaneBoard board{&window, test.services()};
    ViewGraphic viewGraphic{board, test.services()};
    TestDir dir;

    ScriptedDialogs &dialogs() { return test.dialogs; }
    RealView *view() { return viewGraphic.viewer().ifLoaded(); }

    // A folder of the fixture tree holding the given files.
    QString folder(const QString &name, const QList<std::pair<QString, QByteArray>> &files = {})
    {
        const QString path = dir.createDir(name);
        for (const auto &[file, bytes] : files)
            dir.createFile(name + QLatin1Char('/') + file, bytes);
        return path;
    }
    // Opens pane n on folder; name becomes its current file, selected when selected is set.
    void show(int n, const QString &folder, const QString &name = QString(), bool selected = true)
    {
        board.pane(n).folderList()->setPath(folder);
        FileList *list = board.pane(n).fileList();
        for (int row = 0; row < list->listCount(); ++row) {
            if (list->item(row) == name) {
                list->setListIndex(row);
                list->setSelected(row, selected);
            }
        }
    }
    // Every pane on an empty folder: no current file, no selection anywhere.
    void emptyPanes()
    {
        const QString empty = folder(QStringLiteral("empty"));
        for (int n = 1; n <= PaneCount; ++n)
            board.pane(n).folderList()->setPath(empty);
    }
    // View Graphic, confirming (or cancelling) the open dialog.
    void viewGraphic_(std::optional<QString> answer)
    {
        dialogs().answerText(answer);
        viewGraphic.mnuBmp_Click();
    }
};

QByteArray picture(int w, int h, const QByteArray &format = "bmp")
{
    return PictureFixtures::encode(PictureFixtures::image(w, h), format);
}

QWidget *image1(RealView *view)
{
    return view->findChild<QWidget *>(QStringLiteral("Image1"));
}

QScrollBar *vscroll1(RealView *view)
{
    return view->findChild<QScrollBar *>(QStringLiteral("VScroll1"));
}

QPushButton *button(RealView *view, const char *name)
{
    return view->findChild<QPushButton *>(QLatin1String(name));
}
} // namespace

class TestRealView : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void loadSequence_data();
    void loadSequence();
    void cancelOrNoPicture_data();
    void cancelOrNoPicture();
    void otherFileChosen();
    void rootJoin();
    void gate_data();
    void gate();
    void selectFirst();
    void gateAndSelectionOnDifferentPanes();
    void popupItem();
    void alreadyOpen();
    void menu();
    void zoomButtonsAndMenu();
    void enlargeAtMaximum();
    void scrollBar();
    void copyToClipboard();
    void openNewPicture();
    void exitAndReload();
    void noPaneWithSelection();
    void showPicture();
    void metafile();
};

void TestRealView::loadSequence_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");

    QTest::newRow("bitmap") << "Photo.BMP" << QByteArray("bmp");
    QTest::newRow("GIF") << "anim.gif" << QByteArray("gif");
    QTest::newRow("JPEG") << "holiday.jpg" << QByteArray("jpeg");
    QTest::newRow("four-letter JPEG") << "camera.jpeg" << QByteArray("jpeg");
    QTest::newRow("icon") << "app.Ico" << QByteArray("ico");
    QTest::newRow("cursor") << "pointer.cur" << QByteArray("cur");
}

void TestRealView::loadSequence()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);

    Viewer v;
    v.emptyPanes();
    // Pane 1 lists a file but has no selection: the first pane with one is pane 2.
    v.show(1, v.folder(QStringLiteral("one"), {{QStringLiteral("other.bmp"), picture(5, 5)}}),
           QStringLiteral("other.bmp"), false);
    const QString two = v.folder(QStringLiteral("two"), {{name, picture(90, 60, format)}});
    v.show(2, two, name);
    v.test.clipboard.setText(QStringLiteral("/a/pending/copy"));

    v.viewGraphic_(two + QLatin1Char('/') + name);

    QCOMPARE(v.dialogs().fileRequests().size(), 1);
    const FileDialogRequest request = v.dialogs().fileRequests().first();
    QCOMPARE(request.fileName, two + QLatin1Char('/') + name);
    QCOMPARE(request.filter, RealViewDesign::openFilter());
    QVERIFY(request.filter.startsWith(QStringLiteral("Pictures (*.Bmp *.BMP *.bmp *.Cur *.CUR *.cur ")));
    QVERIFY(request.filter.endsWith(QStringLiteral(" *.Jpeg *.JPEG *.jpeg)")));
    QCOMPARE(v.test.clipboard.text(), QString());
    QVERIFY(v.dialogs().messages().isEmpty());

    RealView *view = v.view();
    QVERIFY(view);
    QVERIFY(view->isVisible());
    QVERIFY(view->isMaximized());
    QCOMPARE(view->windowTitle(), QStringLiteral("True Size"));
    QCOMPARE(view->fileName(), two + QLatin1Char('/') + name);
    QCOMPARE(view->picture().twipsSize(), QSizeF(1350, 900));
    // Left 0, top 20 twips: one pixel down.
    QCOMPARE(image1(view)->geometry(), QRect(0, 1, 90, 60));
    QVERIFY(!vscroll1(view)->isVisible());
}

void TestRealView::cancelOrNoPicture_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("cancel");

    QTest::newRow("cancel") << picture(10, 10) << true;
    QTest::newRow("corrupt bitmap") << picture(10, 10).left(40) << false;
    QTest::newRow("text named .bmp") << QByteArray("not a picture") << false;
    QTest::newRow("metafile cut after its key") << QByteArray("\xd7\xcd\xc6\x9a\0\0\0\0", 8) << false;
}

void TestRealView::cancelOrNoPicture()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, cancel);

    Viewer v;
    v.emptyPanes();
    const QString folder = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), bytes}});
    v.show(3, folder, QStringLiteral("a.bmp"));
    v.test.clipboard.setText(QStringLiteral("/pending"));

    v.viewGraphic_(cancel ? std::nullopt : std::optional<QString>(folder + QStringLiteral("/a.bmp")));

    QCOMPARE(v.dialogs().fileRequests().size(), 1);
    QVERIFY(!v.viewGraphic.viewer().isLoaded());
    QVERIFY(v.dialogs().messages().isEmpty());
    QCOMPARE(v.test.clipboard.text(), QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(widget->objectName() != QStringLiteral("RealView"));
}

void TestRealView::otherFileChosen()
{
    Viewer v;
    v.emptyPanes();
    const QString folder = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(10, 10)},
                                                              {QStringLiteral("b.gif"), picture(30, 15, "gif")}});
    v.show(1, folder, QStringLiteral("a.bmp"));
    v.viewGraphic_(folder + QStringLiteral("/b.gif"));

    QVERIFY(v.view());
    QCOMPARE(v.view()->fileName(), folder + QStringLiteral("/b.gif"));
    QCOMPARE(v.view()->picture().toImage().size(), QSize(30, 15));
}

void TestRealView::rootJoin()
{
    // A pane at the root offers "/name", not "//name". The root's own files are the machine's:
    // the test looks for one it can list.
    Viewer v;
    v.emptyPanes();
    v.board.pane(2).folderList()->setPath(QStringLiteral("/"));
    FileList *list = v.board.pane(2).fileList();
    if (list->listCount() == 0)
        QSKIP("the root folder lists no file here");
    list->setListIndex(0);
    list->setSelected(0, true);
    const QString name = list->item(0);
    v.show(1, v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(4, 4)}}), QStringLiteral("a.bmp"),
           false);
    v.viewGraphic_(std::nullopt);
    QCOMPARE(v.dialogs().fileRequests().size(), 1);
    QCOMPARE(v.dialogs().fileRequests().first().fileName, QLatin1Char('/') + name);
}

void TestRealView::gate_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");

    QTest::newRow("upper case") << "PHOTO.BMP" << true;
    QTest::newRow("capitalised") << "Photo.Gif" << true;
    QTest::newRow("lower case") << "photo.ico" << true;
    QTest::newRow("cursor") << "arrow.CUR" << true;
    QTest::newRow("metafile") << "chart.wmf" << true;
    QTest::newRow("no dot") << "xbmp" << true;
    QTest::newRow("JPG") << "scan.Jpg" << true;
    QTest::newRow("JPEG upper") << "scan.JPEG" << true;
    QTest::newRow("Jpeg") << "scan.Jpeg" << true;
    QTest::newRow("jpeg") << "scan.jpeg" << true;
    QTest::newRow("mixed case") << "photo.bMp" << false;
    QTest::newRow("jPeg") << "photo.jPeg" << false;
    QTest::newRow("png") << "photo.png" << false;
    QTest::newRow("text") << "notes.txt" << false;
}

void TestRealView::gate()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);

    Viewer v;
    v.emptyPanes();
    const QString folder = v.folder(QStringLiteral("pics"), {{name, picture(10, 10)}});
    v.show(4, folder, name);
    if (opens)
        v.dialogs().answerText(folder + QLatin1Char('/') + name);
    v.viewGraphic.mnuBmp_Click();

    QCOMPARE(v.dialogs().fileRequests().size(), opens ? 1 : 0);
    QCOMPARE(v.viewGraphic.viewer().isLoaded(), opens);
    QVERIFY(v.dialogs().messages().isEmpty());
    QVERIFY(v.dialogs().scriptIsEmpty());
}

void TestRealView::selectFirst()
{
    Viewer v;
    v.emptyPanes();
    // The picture is the list's first and current item but not selected: no pane passes.
    const QString folder = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(10, 10)}});
    v.show(5, folder, QStringLiteral("a.bmp"), false);
    QCOMPARE(v.board.pane(5).fileList()->fileName(), QStringLiteral("a.bmp"));

    v.dialogs().answerMessage(MessageAnswer::Ok);
    v.viewGraphic.mnuBmp_Click();
    QCOMPARE(v.dialogs().messages().size(), 1);
    const MessageRequest message = v.dialogs().messages().first();
    QCOMPARE(message.text, QStringLiteral("Please select a file first"));
    QCOMPARE(message.title, QStringLiteral("Panoptra"));
    QCOMPARE(message.buttons, MessageButtons::Ok);
    QCOMPARE(message.icon, MessageIcon::None);
    QVERIFY(v.dialogs().fileRequests().isEmpty());
    QVERIFY(!v.viewGraphic.viewer().isLoaded());
}

void TestRealView::gateAndSelectionOnDifferentPanes()
{
    Viewer v;
    v.emptyPanes();
    const QString texts = v.folder(QStringLiteral("texts"), {{QStringLiteral("readme.txt"), "hello"}});
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(10, 10)}});
    v.show(2, texts, QStringLiteral("readme.txt"));
    v.show(3, pics, QStringLiteral("a.bmp"), false);

    // Pane 3's picture opens the gate; pane 2, the first with a selection, is offered.
    v.viewGraphic_(texts + QStringLiteral("/readme.txt"));
    QCOMPARE(v.dialogs().fileRequests().first().fileName, texts + QStringLiteral("/readme.txt"));
    QVERIFY(!v.viewGraphic.viewer().isLoaded());
    QVERIFY(v.dialogs().messages().isEmpty());
}

void TestRealView::popupItem()
{
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(10, 10)},
                                                            {QStringLiteral("b.txt"), "b"}});
    v.show(2, pics, QStringLiteral("a.bmp"));
    v.show(4, pics, QStringLiteral("b.txt"));

    // Pane 1 has no current file and pane 4's is no picture: their items do nothing.
    v.viewGraphic.mnuGraphic_Click(1);
    v.viewGraphic.mnuGraphic_Click(4);
    QVERIFY(v.dialogs().fileRequests().isEmpty());
    QVERIFY(v.dialogs().messages().isEmpty());

    v.dialogs().answerText(pics + QStringLiteral("/a.bmp"));
    v.viewGraphic.mnuGraphic_Click(2);
    QCOMPARE(v.dialogs().fileRequests().size(), 1);
    QVERIFY(v.view());
}

void TestRealView::alreadyOpen()
{
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(10, 10)},
                                                            {QStringLiteral("b.bmp"), picture(20, 20)}});
    v.show(1, pics, QStringLiteral("a.bmp"));
    v.viewGraphic_(pics + QStringLiteral("/a.bmp"));
    RealView *view = v.view();
    QVERIFY(view);
    view->Command1_Click();

    // Another picture selected: View Graphic only brings the open viewer to the front.
    v.show(1, pics, QStringLiteral("b.bmp"));
    v.viewGraphic.mnuBmp_Click();
    QCOMPARE(v.view(), view);
    QCOMPARE(v.dialogs().fileRequests().size(), 1);
    QCOMPARE(view->fileName(), pics + QStringLiteral("/a.bmp"));
    QCOMPARE(view->windowTitle(), QStringLiteral("Magnification X2"));
    QVERIFY(view->isVisible());
}

void TestRealView::menu()
{
    RealView view(TestServices().services());
    QCOMPARE(view.menus().dump(), (QStringList{
        "- | mnuFile | File |  | visible",
        "mnuFile | mnuClip | Copy to Clipboard | Ctrl+C | visible",
        "mnuFile | mnuEnlarge | Enlarge Picture | Ctrl+E | visible",
        "mnuFile | mnuOpen | Open New Picture | Ctrl+O | visible",
        "mnuFile | mnuPrint | Print | Ctrl+P | visible",
        "mnuFile | mnuReduce | Reduce Picture | Ctrl+R | visible",
        "mnuFile | mnuSaveAs | Save As | Ctrl+S | visible",
        "mnuFile | mnuExit | Exit | Ctrl+X | visible",
    }));
    for (QAction *action : view.menus().shortcutActions())
        QCOMPARE(action->shortcutContext(), Qt::WindowShortcut);
}

void TestRealView::zoomButtonsAndMenu()
{
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(40, 30)}});
    v.show(1, pics, QStringLiteral("a.bmp"));
    v.viewGraphic_(pics + QStringLiteral("/a.bmp"));
    RealView *view = v.view();
    QVERIFY(view);

    QTest::mouseClick(button(view, "Command1"), Qt::LeftButton);
    QCOMPARE(view->windowTitle(), QStringLiteral("Magnification X2"));
    QCOMPARE(image1(view)->geometry(), QRect(0, 0, 80, 60));
    view->menus().action(QStringLiteral("mnuEnlarge"))->trigger();
    QCOMPARE(view->windowTitle(), QStringLiteral("Magnification X4"));
    QCOMPARE(image1(view)->geometry(), QRect(0, 0, 160, 120));
    view->menus().action(QStringLiteral("mnuReduce"))->trigger();
    QTest::mouseClick(button(view, "Command2"), Qt::LeftButton);
    QTest::mouseClick(button(view, "Command2"), Qt::LeftButton);
    QCOMPARE(view->windowTitle(), QStringLiteral("Size/2"));
    QCOMPARE(image1(view)->geometry(), QRect(0, 0, 20, 15));
    // The buttons stand where the design puts them, Enlarge in front of the picture area.
    QCOMPARE(button(view, "Command1")->geometry(), QRect(16, 512, 65, 25));
    QCOMPARE(button(view, "Command2")->geometry(), QRect(120, 512, 65, 25));
    QCOMPARE(button(view, "Command1")->text(), QStringLiteral("Enlarge"));
    QCOMPARE(button(view, "Command2")->text(), QStringLiteral("Reduce"));
    QVERIFY(v.dialogs().messages().isEmpty());
}

void TestRealView::enlargeAtMaximum()
{
    Viewer v;
    v.emptyPanes();
    // 300 pixels high: 4500 twips, above the 4000-twip limit.
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("tall.bmp"), picture(20, 300)}});
    v.show(1, pics, QStringLiteral("tall.bmp"));
    v.viewGraphic_(pics + QStringLiteral("/tall.bmp"));
    RealView *view = v.view();
    QVERIFY(view);

    v.dialogs().answerMessage(MessageAnswer::Ok);
    view->menus().action(QStringLiteral("mnuEnlarge"))->trigger();
    QCOMPARE(v.dialogs().messages().size(), 1);
    const MessageRequest message = v.dialogs().messages().first();
    QCOMPARE(message.text, QStringLiteral("Magnification is at maximum"));
    QCOMPARE(message.title, QStringLiteral("Panoptra"));
    QCOMPARE(message.icon, MessageIcon::None);
    QCOMPARE(view->windowTitle(), QStringLiteral("True Size"));
    QCOMPARE(image1(view)->geometry(), QRect(0, 1, 20, 300));
}

void TestRealView::scrollBar()
{
    Viewer v;
    v.emptyPanes();
    // 334 pixels: 5010 twips, taller than 5000.
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("tall.bmp"), picture(50, 334)},
                                                            {QStringLiteral("short.bmp"), picture(50, 333)}});
    v.show(1, pics, QStringLiteral("short.bmp"));
    v.viewGraphic_(pics + QStringLiteral("/short.bmp"));
    QVERIFY(v.view());
    QVERIFY(!vscroll1(v.view())->isVisible());
    v.view()->mnuExit_Click();

    v.show(1, pics, QStringLiteral("tall.bmp"));
    v.viewGraphic_(pics + QStringLiteral("/tall.bmp"));
    RealView *view = v.view();
    QVERIFY(view);
    QScrollBar *bar = vscroll1(view);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 32767);
    QCOMPARE(bar->singleStep(), 25);
    QCOMPARE(bar->pageStep(), 1);
    QCOMPARE(bar->geometry(), QRect(776, 1, 25, 547));

    bar->setValue(300);
    QCOMPARE(image1(view)->geometry(), QRect(0, -20, 50, 334));
    view->Command2_Click();
    QCOMPARE(image1(view)->geometry(), QRect(0, 0, 25, 167));
    QCOMPARE(bar->value(), 300);
    QVERIFY(bar->isVisible());
}

void TestRealView::copyToClipboard()
{
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.gif"), picture(24, 16, "gif")}});
    v.show(1, pics, QStringLiteral("a.gif"));
    v.viewGraphic_(pics + QStringLiteral("/a.gif"));
    RealView *view = v.view();
    QVERIFY(view);

    v.test.clipboard.setText(QStringLiteral("/source/of/a/copy"));
    view->menus().action(QStringLiteral("mnuClip"))->trigger();
    QCOMPARE(v.test.clipboard.text(), QString());
    const QImage copied = v.test.clipboard.image();
    QCOMPARE(copied.size(), QSize(24, 16));
    QCOMPARE(copied.pixelColor(1, 1), QColor(Qt::blue));
    QCOMPARE(copied.pixelColor(20, 12), QColor(Qt::red));
    QVERIFY(v.dialogs().messages().isEmpty());
}

void TestRealView::openNewPicture()
{
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(40, 40)},
                                                            {QStringLiteral("b.jpg"), picture(30, 10, "jpeg")},
                                                            {QStringLiteral("bad.bmp"), "no picture"}});
    v.show(1, pics, QStringLiteral("a.bmp"));
    v.viewGraphic_(pics + QStringLiteral("/a.bmp"));
    RealView *view = v.view();
    QVERIFY(view);

    // Cancel, a missing file and a file that is no picture keep the picture and its name.
    for (const std::optional<QString> &answer : {std::optional<QString>(),
                                                  std::optional<QString>(pics + QStringLiteral("/gone.bmp")),
                                                  std::optional<QString>(pics + QStringLiteral("/bad.bmp"))}) {
        v.dialogs().answerText(answer);
        view->mnuOpen_Click();
        QCOMPARE(view->fileName(), pics + QStringLiteral("/a.bmp"));
        QCOMPARE(view->picture().toImage().size(), QSize(40, 40));
    }
    QCOMPARE(v.dialogs().fileRequests().size(), 4);
    QCOMPARE(v.dialogs().fileRequests().last().fileName, pics + QStringLiteral("/a.bmp"));
    QCOMPARE(v.dialogs().fileRequests().last().filter, RealViewDesign::openFilter());
    QVERIFY(v.dialogs().messages().isEmpty());

    // After two Enlarge steps the new picture fills the enlarged rectangle.
    view->Command1_Click();
    view->Command1_Click();
    v.dialogs().answerText(pics + QStringLiteral("/b.jpg"));
    view->menus().action(QStringLiteral("mnuOpen"))->trigger();
    QCOMPARE(view->fileName(), pics + QStringLiteral("/b.jpg"));
    QCOMPARE(view->picture().toImage().size(), QSize(30, 10));
    QCOMPARE(view->windowTitle(), QStringLiteral("Magnification X4"));
    QCOMPARE(image1(view)->geometry(), QRect(0, 0, 160, 160));
}

void TestRealView::exitAndReload()
{
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("a.bmp"), picture(40, 40)}});
    v.show(1, pics, QStringLiteral("a.bmp"));
    v.viewGraphic_(pics + QStringLiteral("/a.bmp"));
    QVERIFY(v.view());
    v.view()->Command2_Click();
    v.view()->menus().action(QStringLiteral("mnuExit"))->trigger();
    QVERIFY(!v.viewGraphic.viewer().isLoaded());

    // The next View Graphic starts afresh: a new load sequence at "True Size".
    v.test.clipboard.setText(QStringLiteral("/pending"));
    v.viewGraphic_(pics + QStringLiteral("/a.bmp"));
    QCOMPARE(v.dialogs().fileRequests().size(), 2);
    QVERIFY(v.view());
    QCOMPARE(v.view()->windowTitle(), QStringLiteral("True Size"));
    QVERIFY(!v.view()->state().isStretched());
    QCOMPARE(v.test.clipboard.text(), QString());

    // The close box unloads it too.
    v.view()->close();
    QVERIFY(!v.viewGraphic.viewer().isLoaded());
}

void TestRealView::noPaneWithSelection()
{
    // Loaded without a pane to offer: empty, no caption, and the clipboard emptied all the same.
    TestServices test;
    test.clipboard.setText(QStringLiteral("/pending"));
    RealView view(test.services());
    view.Form_Load(std::nullopt);
    QCOMPARE(test.clipboard.text(), QString());
    QVERIFY(test.dialogs.fileRequests().isEmpty());
    QCOMPARE(view.windowTitle(), QString());
    QVERIFY(view.picture().isNull());

    // Its zoom buttons and Copy change nothing and say nothing.
    view.Command1_Click();
    view.Command2_Click();
    view.mnuClip_Click();
    QCOMPARE(view.windowTitle(), QString());
    QVERIFY(test.dialogs.messages().isEmpty());
    QVERIFY(test.clipboard.image().isNull());
}

void TestRealView::showPicture()
{
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"), {{QStringLiteral("photo.jpeg"), picture(12, 12, "jpeg")}});
    v.dialogs().answerText(pics + QStringLiteral("/photo.jpeg"));
    v.viewGraphic.showPicture(pics + QStringLiteral("/photo.jpeg"));
    QCOMPARE(v.dialogs().fileRequests().first().fileName, pics + QStringLiteral("/photo.jpeg"));
    QVERIFY(v.view());
    QCOMPARE(v.view()->picture().toImage().size(), QSize(12, 12));
}

void TestRealView::metafile()
{
    // A red square in a 2 x 1 inch frame: 2880 x 1440 twips, drawn on screen and copied to
    // the clipboard as the image it draws.
    WmfBuilder wmf;
    wmf.pen(5, 0, Qt::black).select(0).brush(0, Qt::red).select(1).rectangle(0, 0, 1000, 1000);
    Viewer v;
    v.emptyPanes();
    const QString pics = v.folder(QStringLiteral("pics"),
                                  {{QStringLiteral("chart.WMF"), wmf.build(QRect(0, 0, 2000, 1000), 1000)}});
    v.show(1, pics, QStringLiteral("chart.WMF"));
    v.viewGraphic_(pics + QStringLiteral("/chart.WMF"));
    RealView *view = v.view();
    QVERIFY(view);
    QCOMPARE(view->picture().kind(), Picture::Kind::Metafile);
    QCOMPARE(image1(view)->geometry(), QRect(0, 1, 192, 96));
    const QImage shown = image1(view)->grab().toImage();
    QCOMPARE(shown.pixelColor(40, 40), QColor(Qt::red));
    // Right of the square the window's own background shows through.
    QVERIFY(shown.pixelColor(150, 40) != QColor(Qt::red));
    view->mnuClip_Click();
    const QImage copied = v.test.clipboard.image();
    QCOMPARE(copied.size(), QSize(192, 96));
    QCOMPARE(copied.pixelColor(40, 40), QColor(Qt::red));
    QCOMPARE(copied.pixelColor(150, 40), QColor(Qt::white));
}

QTEST_MAIN(TestRealView)
#include "tst_realview.moc"
