#include "PictureFixtures.h"

#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "picview/PrintLayout.h"
#include "picview/RealView.h"
#include "platform/ui/MenuTree.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

class TestPrint : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void pageRect_data();
    void pageRect();
    void nothingToPrint();
    void bigPictureAtTheTop();
    void printsToPaper();
    void noPrinter();
    void tallPictureAfterZoom();

private:
    // A viewer on a picture of w x h pixels in a fresh folder.
    struct Open
    {
        TestServices test;
        TestDir dir;
        std::unique_ptr<RealView> view;
    };
    static std::unique_ptr<Open> openViewer(int w, int h);
};

std::unique_ptr<TestPrint::Open> TestPrint::openViewer(int w, int h)
{
    auto open = std::make_unique<Open>();
    const QString path = open->dir.createFile(QStringLiteral("p.bmp"),
                                              PictureFixtures::encode(PictureFixtures::image(w, h), "bmp"));
    open->view = std::make_unique<RealView>(open->test.services());
    open->test.dialogs.answerText(path);
    open->view->Form_Load(path);
    return open;
}

void TestPrint::pageRect_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("side");

    // 100 x 100 pixels (2646 x 2646 HIMETRIC): 1500 twips, times the caption's number.
    QTest::newRow("X10") << "Magnification X10" << 0.0 << 15000.0;
    QTest::newRow("X8") << "Magnification X8" << 0.0 << 12000.0;
    QTest::newRow("X6") << "Magnification X6" << 0.0 << 9000.0;
    QTest::newRow("X4") << "Magnification X4" << 0.0 << 6000.0;
    QTest::newRow("X2") << "Magnification X2" << 0.0 << 3000.0;
    QTest::newRow("true size, just opened") << "True Size" << 20.0 << 1500.0;
    QTest::newRow("/2") << "Size/2" << 0.0 << 750.0;
    QTest::newRow("/4") << "Size/4" << 0.0 << 375.0;
    QTest::newRow("/6") << "Size/6" << 0.0 << 250.0;
    QTest::newRow("/8") << "Size/8" << 0.0 << 187.5;
    QTest::newRow("/10") << "Size/10" << 0.0 << 150.0;
    QTest::newRow("scrolled") << "True Size" << -300.0 << 1500.0;
}

void TestPrint::pageRect()
{
    QFETCH(QString, caption);
    QFETCH(double, top);
    QFETCH(double, side);

    const std::optional<QRectF> rect = PrintLayout::pageRect(caption, QPointF(0, top), QSizeF(1500, 1500));
    QVERIFY(rect);
    QCOMPARE(*rect, QRectF(0, top, side, side));
}

void TestPrint::nothingToPrint()
{
    QVERIFY(!PrintLayout::pageRect(QString(), QPointF(0, 20), QSizeF(1500, 1500)));
    QVERIFY(!PrintLayout::pageRect(QStringLiteral("true size"), QPointF(0, 20), QSizeF(1500, 1500)));
    QVERIFY(!PrintLayout::pageRect(QStringLiteral("True Size"), QPointF(0, 20), QSizeF()));

    // A viewer whose load found no pane asks no printer and prints no page.
    TestServices test;
    RealView view(test.services());
    view.Form_Load(std::nullopt);
    view.mnuPrint_Click();
    QCOMPARE(test.printer.jobs, 0);
    QVERIFY(!QFile::exists(test.home() + QStringLiteral("/print.pdf")));
    QVERIFY(test.dialogs.messages().isEmpty());
}

void TestPrint::bigPictureAtTheTop()
{
    // 1300 pixels high at "Magnification X10": 195,000 twips, no 16-bit overflow.
    const std::optional<QRectF> rect =
        PrintLayout::pageRect(QStringLiteral("Magnification X10"), QPointF(0, 0), QSizeF(150, 19500));
    QVERIFY(rect);
    QCOMPARE(rect->height(), 195000.0);
    QCOMPARE(rect->width(), 1500.0);
}

void TestPrint::printsToPaper()
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    QVERIFY2(!pdftoppm.isEmpty(), "pdftoppm (poppler-utils) is needed");

    // 144 x 144 pixels: 2160 twips, an inch and a half on paper.
    const std::unique_ptr<Open> open = openViewer(144, 144);
    QVERIFY(open->view);
    open->view->menus().action(QStringLiteral("mnuPrint"))->trigger();
    QCOMPARE(open->test.printer.jobs, 1);
    const QString pdf = open->test.home() + QStringLiteral("/print.pdf");
    QVERIFY(QFile(pdf).size() > 0);

    // The page drawn at 72 dots per inch: the picture is 108 dots wide.
    const QString png = open->test.home() + QStringLiteral("/page");
    QCOMPARE(QProcess::execute(pdftoppm, {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                                          QStringLiteral("-singlefile"), pdf, png}),
             0);
    const QImage page(png + QStringLiteral(".png"));
    QVERIFY(!page.isNull());
    QRect red, blue;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                red = red.united(QRect(x, y, 1, 1));
            else if (c.blue() > 200 && c.red() < 60 && c.green() < 60)
                blue = blue.united(QRect(x, y, 1, 1));
        }
    }
    const QRect picture = red.united(blue);
    QVERIFY2(qAbs(picture.width() - 108) <= 2, qPrintable(QString::number(picture.width())));
    QVERIFY2(qAbs(picture.height() - 108) <= 2, qPrintable(QString::number(picture.height())));
    // The blue quarter is the top left one.
    QCOMPARE(blue.topLeft(), picture.topLeft());
    QVERIFY(qAbs(blue.width() - 54) <= 2);
}

void TestPrint::noPrinter()
{
    const std::unique_ptr<Open> open = openViewer(10, 10);
    open->test.printer.available = false;
    open->test.dialogs.answerMessage(MessageAnswer::Ok);
    open->view->mnuPrint_Click();
    QCOMPARE(open->test.dialogs.messageTexts(), QStringList{QStringLiteral("No printer is available.")});
    QCOMPARE(open->view->windowTitle(), QStringLiteral("True Size"));
}

void TestPrint::tallPictureAfterZoom()
{
    // Climb to "Magnification X10" with a small picture, then open a 1300-pixel one: the
    // caption stays, and the print is 195,000 twips high without overflow.
    const std::unique_ptr<Open> open = openViewer(8, 8);
    for (int i = 0; i < 5; ++i)
        open->view->Command1_Click();
    QCOMPARE(open->view->windowTitle(), QStringLiteral("Magnification X10"));
    const QString tall = open->dir.createFile(QStringLiteral("tall.bmp"),
                                              PictureFixtures::encode(PictureFixtures::image(10, 1300), "bmp"));
    open->test.dialogs.answerText(tall);
    open->view->mnuOpen_Click();
    QCOMPARE(open->view->picture().twipsSize(), QSizeF(150, 19500));
    open->view->mnuPrint_Click();
    QCOMPARE(open->test.printer.jobs, 1);
    QVERIFY(QFile(open->test.home() + QStringLiteral("/print.pdf")).size() > 0);
    QVERIFY(open->test.dialogs.messages().isEmpty());
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
