#include "FormFixture.h"

#include "app/MainMenus.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "picview/ViewGraphic.h"
#include "support/TestCase.h"
#include "support/TestDir.h"

#include <QAction>
#include <QImage>
#include <QImageWriter>
#include <QTest>

// The main window's View Graphic items reach the picture viewer.
class TestViewGraphicMenus : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void items_data();
    void items();
};

void TestViewGraphicMenus::items_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("opens");

    QTest::newRow("View menu") << "mnuBmp" << true;
    QTest::newRow("pane 3's pop-up") << "mnuGraphic3" << true;
    // Pane 2 lists no file: its item does nothing.
    QTest::newRow("pane 2's pop-up") << "mnuGraphic2" << false;
}

void TestViewGraphicMenus::items()
{
    QFETCH(QString, item);
    QFETCH(bool, opens);

    FormFixture app;
    Form1 &form = app.start();
    TestDir dir;
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString path = dir.filePath(QStringLiteral("green.bmp"));
    QVERIFY(QImageWriter(path, "bmp").write(image));
    const QString empty = dir.createDir(QStringLiteral("empty"));
    for (int n = 1; n <= PaneCount; ++n)
        form.board().pane(n).folderList()->setPath(empty);
    form.board().pane(3).folderList()->setPath(dir.path());
    FileList *list = form.board().pane(3).fileList();
    list->setListIndex(0);
    list->setSelected(0, true);

    if (opens)
        app.services.dialogs.answerText(path);
    form.menus().action(item)->trigger();

    QCOMPARE(app.services.dialogs.fileRequests().size(), opens ? 1 : 0);
    QCOMPARE(form.viewGraphic().viewer().isLoaded(), opens);
    if (opens) {
        RealView *view = form.viewGraphic().viewer().ifLoaded();
        QCOMPARE(view->windowTitle(), QStringLiteral("True Size"));
        QCOMPARE(view->fileName(), path);
    }
}

QTEST_MAIN(TestViewGraphicMenus)
#include "tst_viewgraphic.moc"
