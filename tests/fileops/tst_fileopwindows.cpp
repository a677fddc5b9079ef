// What the Copy File, rename and folder windows share: they never block, Enter and Esc press
// none of their buttons, and the folder windows carry their own drawing.

#include "DialogFixture.h"

#include "fileops/CopyBatch.h"
#include "fileops/CopyCommands.h"
#include "fileops/CopyFileTo.h"
#include "fileops/FileRename.h"
#include "fileops/FolderRename.h"
#include "fileops/NewFolder.h"
#include "support/TestCase.h"

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

class FileOpWindowsTest : public TestCase
{
    Q_OBJECT

    struct Setup : DialogFixture
    {
        CopyBatch batch;
        CopyCommands copy{*board, services(), batch};
        CopyFileTo copyTo{services(), *board, copy, batch};
        FileRename fileRename{services(), *board};
        FolderRename folderRename{services(), *board};
        NewFolder newFolder{services(), *board};

        Setup()
        {
            dir.createFile(QStringLiteral("data/a.txt"), "alpha");
            dir.createDir(QStringLiteral("data/old"));
            dir.createDir(QStringLiteral("dest"));
            for (int n = 1; n <= PaneCount; ++n) {
                open(n, path(QStringLiteral("data")));
                select(n, {QStringLiteral("a.txt")});
            }
        }

        // Opens the named window with a text typed that its Okay would act on.
        DesignedWindow *openReady(const QString &name)
        {
            if (name == QStringLiteral("Namer2")) {
                fileRename.mnuReeName_Click(1);
                fileRename.dialog()->text1()->setText(QStringLiteral("b.txt"));
                return fileRename.dialog();
            }
            if (name == QStringLiteral("Namer")) {
                open(1, path(QStringLiteral("data/old")));
                folderRename.mnuRename_Click(1);
                folderRename.dialog()->text2()->setText(QStringLiteral("new"));
                return folderRename.dialog();
            }
            if (name == QStringLiteral("FoldMaker")) {
                newFolder.mnuAddnew_Click(1);
                newFolder.dialog()->text1()->setText(QStringLiteral("new"));
                return newFolder.dialog();
            }
            const int pane = name.mid(4).toInt() == 2 ? 1 : name.mid(4).toInt() - 3;
            copyTo.mnuCopee_Click(pane);
            copyTo.dialog(pane)->text2()->setText(path(QStringLiteral("dest")));
            return copyTo.dialog(pane);
        }
        bool isLoaded(const QString &name) const
        {
            if (name == QStringLiteral("Namer2"))
                return fileRename.dialog();
            if (name == QStringLiteral("Namer"))
                return folderRename.dialog();
            if (name == QStringLiteral("FoldMaker"))
                return newFolder.dialog();
            for (int n = 1; n <= PaneCount; ++n) {
                if (copyTo.dialog(n) && copyTo.dialog(n)->objectName() == name)
                    return true;
            }
            return false;
        }
    };

    std::unique_ptr<Setup> f;

    static void addWindowRows()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"Form2", "Form5", "Form6", "Form7", "Form8", "Namer2", "Namer", "FoldMaker"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<Setup>(); }
    void cleanup() { f.reset(); }

    void enterAndEscPressNothing_data() { addWindowRows(); }
    void enterAndEscPressNothing();
    void folderWindowsDrawTheTwoFolders_data();
    void folderWindowsDrawTheTwoFolders();
};

void FileOpWindowsTest::enterAndEscPressNothing()
{
    QFETCH(QString, name);
    DesignedWindow *window = f->openReady(name);
    QVERIFY(window);
    QCOMPARE(window->objectName(), name);
    QVERIFY(!qobject_cast<QDialog *>(window));
    QCOMPARE(window->windowModality(), Qt::NonModal);
    const QStringList tree = f->dir.entries(QStringLiteral("data"));

    QList<QWidget *> targets{window};
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->focusPolicy() != Qt::NoFocus)
            targets << child;
    }
    QVERIFY(targets.size() >= 4);
    for (QWidget *target : targets) {
        if (target != window)
            target->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(target, key);
    }
    QCoreApplication::processEvents();

    QVERIFY(f->isLoaded(name));
    QVERIFY(window->isVisible());
    QVERIFY(f->messageTexts().isEmpty());
    QCOMPARE(f->dir.entries(QStringLiteral("data")), tree);
    QVERIFY(f->dir.entries(QStringLiteral("dest")).isEmpty());
    QVERIFY(f->batch.list1().isEmpty());
}

void FileOpWindowsTest::folderWindowsDrawTheTwoFolders_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("drawing"); // where the drawing may lie
    QTest::newRow("Namer: fills the window") << "Namer" << QRect(0, 0, 352, 114);
    QTest::newRow("FoldMaker: from the top left corner") << "FoldMaker" << QRect(0, 0, 75, 60);
}

void FileOpWindowsTest::folderWindowsDrawTheTwoFolders()
{
    QFETCH(QString, name);
    QFETCH(QRect, drawing);
    DesignedWindow *window = f->openReady(name);
    QImage image(window->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    // The window's own painting only, without its controls.
    window->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);

    int blue = 0, green = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 130 && c.green() < 170)
                ++blue;
            if (c.green() > 120 && c.red() < 140 && c.blue() < 140)
                ++green;
            if (!drawing.contains(x, y) && c != QColor(Qt::white))
                ++outside;
        }
    }
    QVERIFY2(blue > 100, qPrintable(QString::number(blue)));
    QVERIFY2(green > 100, qPrintable(QString::number(green)));
    // FoldMaker's window is white beyond the drawing.
    QCOMPARE(outside, 0);
}

QTEST_MAIN(FileOpWindowsTest)
#include "tst_fileopwindows.moc"
