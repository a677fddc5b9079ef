#include "PictureFixtures.h"
#include "WmfFixtures.h"

#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "picview/Saveas.h"
#include "picview/SaveasRules.h"
#include "picview/ViewGraphic.h"
#include "platform/PathHelper.h"
#include "platform/ui/MenuTree.h"
#include "support/TestCase.h"
#include "support/TestDir.h"
#include "support/TestServices.h"

#include <QAction>
#include <QBuffer>
#include <QImageReader>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <sys/stat.h>

namespace {
// The viewer on a JPEG of pane 1, with the test's folder as a drive root of its own.
struct SaveFixture
{
    TestServices test;
    TestDir root;
    PathHelper paths{{QStringLiteral("/"), root.path()}};
    Services services{test.dialogs, test.files, test.trash, test.drives, paths, test.clipboard,
                      test.programs, test.shellOpen, test.browser, test.browserAutomation,
                      test.shellWindows, test.printer, test.programEnd, test.clock};
    QWidget window;
    PaneBoard board{&window, services};
    ViewGraphic viewGraphic{board, services};
    QByteArray jpeg = PictureFixtures::encode(PictureFixtures::image(32, 24), "jpeg");
    QString shown;

    SaveFixture()
    {
        const QString folder = root.createDir(QStringLiteral("shown"));
        shown = root.createFile(QStringLiteral("shown/photo.jpg"), jpeg);
        for (int n = 1; n <= PaneCount; ++n)
            board.pane(n).folderList()->setPath(folder);
        board.pane(1).fileList()->setListIndex(0);
        board.pane(1).fileList()->setSelected(0, true);
        test.dialogs.answerText(shown);
        viewGraphic.mnuBmp_Click();
    }

    // Save As in the viewer, the name and folder typed, Okay pressed.
    Saveas *okay(const QString &name, const QString &folder, bool ticked = false)
    {
        if (RealView *view = viewGraphic.viewer().ifLoaded())
            view->menus().action(QStringLiteral("mnuSaveAs"))->trigger();
        Saveas *saveas = viewGraphic.saveas().get();
        saveas->text1()->setText(name);
        saveas->text2()->setText(folder);
        saveas->checkBox(QStringLiteral("Check1"))->setChecked(ticked);
        saveas->Command1_Click();
        return saveas;
    }
    bool saveasOpen() { return viewGraphic.saveas().isLoaded(); }
};
} // namespace

class TestSaveas : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); m_folder = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_folder); }

    void checks_data();
    void checks();
    void design();
    void copyUnchanged_data();
    void copyUnchanged();
    void createFolder_data();
    void createFolder();
    void failedCopyKeepsDialog_data();
    void failedCopyKeepsDialog();
    void ontoItself();
    void ticked_data();
    void ticked();
    void afterViewerClosed();
    void tickedKinds_data();
    void tickedKinds();
    void newFileMode_data();
    void newFileMode();
    void replacesALinkLeftInTheFolder_data();
    void replacesALinkLeftInTheFolder();

private:
    QString m_folder;
};

void TestSaveas::checks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("message");

    const QString semicolon = QStringLiteral("Semicolon (;) instead of colon (:) error probable at second position "
                                             "left in folder destination path");
    const QString extension = QStringLiteral("Please include file extension .bmp after filename.");
    const QString slash = QStringLiteral("Slash(/) missing from first position left in folder destination path");
    const QString subfolder = QStringLiteral("Create subfolders from desktop or typographical error");
    QTest::newRow("semicolon first") << "picture" << "/My;Pictures" << semicolon;
    QTest::newRow("no dot in the name") << "picture" << "/Pictures" << extension;
    QTest::newRow("other ending passes") << "x.jpg" << "/Pictures" << QString();
    QTest::newRow("many dots pass") << "my.picture" << "/Pictures" << QString();
    QTest::newRow("relative folder") << "x.bmp" << "Pictures" << slash;
    QTest::newRow("empty folder") << "x.bmp" << "" << slash;
    QTest::newRow("two levels down") << "x.bmp" << "/Pictures/Old" << subfolder;
    QTest::newRow("closing slash") << "x.bmp" << "/x/" << subfolder;
    QTest::newRow("the root") << "x.bmp" << "/" << QString();
    QTest::newRow("below the volume root") << "x.bmp" << "<volume>/Pictures" << QString();
    QTest::newRow("the volume root") << "x.bmp" << "<volume>" << QString();
    QTest::newRow("the volume root with its slash") << "x.bmp" << "<volume>/" << QString();
    QTest::newRow("below the volume, two levels") << "x.bmp" << "<volume>/a/b" << subfolder;
}

void TestSaveas::checks()
{
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QFETCH(QString, message);

    const QString volume = QStringLiteral("/media/stick");
    const PathHelper paths({QStringLiteral("/"), volume});
    folder.replace(QStringLiteral("<volume>"), volume);
    QCOMPARE(SaveasRules::check(name, folder, paths).value_or(QString()), message);
    // The rule rests on the path helper trimming a closing slash.
    QCOMPARE(PathHelper::parentOf(QStringLiteral("/x/")), QStringLiteral("/"));
}

void TestSaveas::design()
{
    SaveFixture f;
    f.viewGraphic.viewer().get()->menus().action(QStringLiteral("mnuSaveAs"))->trigger();
    Saveas *saveas = f.viewGraphic.saveas().ifLoaded();
    QVERIFY(saveas);
    QVERIFY(saveas->isVisible());
    QCOMPARE(saveas->windowTitle(), QStringLiteral("Panoptra Picture Saver"));
    QCOMPARE(saveas->label(QStringLiteral("Label3"))->text(), QStringLiteral(" or Copy to ") + f.test.tempHome());
    QCOMPARE(saveas->label(QStringLiteral("Label1"))->text(), QStringLiteral(" Name For Picture (name.bmp)"));
    QCOMPARE(saveas->label(QStringLiteral("Label2"))->text(), QStringLiteral("Copy To Folder"));
    QVERIFY(!saveas->checkBox(QStringLiteral("Check1"))->isChecked());
    QCOMPARE(saveas->text1()->text(), QString());

    // A check that fails keeps the dialog with what was typed.
    f.test.dialogs.answerMessage(MessageAnswer::Ok);
    f.okay(QStringLiteral("picture"), QStringLiteral("/tmp"));
    QVERIFY(f.saveasOpen());
    QCOMPARE(saveas->text1()->text(), QStringLiteral("picture"));
    QCOMPARE(f.test.dialogs.messageTexts(),
             QStringList{QStringLiteral("Please include file extension .bmp after filename.")});
}

void TestSaveas::copyUnchanged_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("folder below the root") << "<root>/Pictures" << "<root>/Pictures/x.bmp";
    QTest::newRow("the root itself") << "<root>" << "<root>/x.bmp";
}

void TestSaveas::copyUnchanged()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);

    SaveFixture f;
    f.root.createDir(QStringLiteral("Pictures"));
    folder.replace(QStringLiteral("<root>"), f.root.path());
    expected.replace(QStringLiteral("<root>"), f.root.path());
    f.okay(QStringLiteral("x.bmp"), folder);

    // The JPEG's own bytes under the new name; the folder way leaves the current folder at "/".
    QFile copy(expected);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), f.jpeg);
    QVERIFY(!f.saveasOpen());
    QCOMPARE(QDir::currentPath(), QStringLiteral("/"));
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

void TestSaveas::createFolder_data()
{
    QTest::addColumn<bool>("yes");

    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestSaveas::createFolder()
{
    QFETCH(bool, yes);

    SaveFixture f;
    const QString folder = f.root.filePath(QStringLiteral("New Pictures"));
    f.test.dialogs.answerMessage(yes ? MessageAnswer::Yes : MessageAnswer::No);
    f.okay(QStringLiteral("x.bmp"), folder);

    QCOMPARE(f.test.dialogs.messages().size(), 1);
    const MessageRequest question = f.test.dialogs.messages().first();
    QCOMPARE(question.text,
             QStringLiteral("The folder ") + folder + QStringLiteral(" doesn't exist.\r\n Would you like to create it ?"));
    QCOMPARE(question.title, QStringLiteral("Create New Folder"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.defaultButton, std::optional<MessageAnswer>(MessageAnswer::No));
    QVERIFY(!f.saveasOpen());
    QCOMPARE(QDir(folder).exists(), yes);
    QCOMPARE(QFile::exists(folder + QStringLiteral("/x.bmp")), yes);
    QCOMPARE(f.test.files.writes.size(), yes ? 1 : 0);
}

void TestSaveas::failedCopyKeepsDialog_data()
{
    QTest::addColumn<bool>("writeRefused");

    QTest::newRow("the write refused") << true;
    QTest::newRow("the shown file gone") << false;
}

void TestSaveas::failedCopyKeepsDialog()
{
    QFETCH(bool, writeRefused);

    SaveFixture f;
    const QString folder = f.root.createDir(QStringLiteral("Pictures"));
    const QString target = folder + QStringLiteral("/x.bmp");
    if (writeRefused)
        f.test.files.writeErrors.insert(target, 75);
    else
        QVERIFY(QFile::remove(f.shown));
    f.test.dialogs.answerMessage(MessageAnswer::Ok);
    f.okay(QStringLiteral("x.bmp"), folder);

    QCOMPARE(f.test.dialogs.messageTexts(),
             QStringList{QStringLiteral("Could not copy the picture to ") + target + QStringLiteral(".")});
    QVERIFY(f.saveasOpen());
    QVERIFY(!QFile::exists(target));
    QVERIFY(QDir::currentPath() != QStringLiteral("/") || m_folder == QStringLiteral("/"));
}

void TestSaveas::ontoItself()
{
    // The shown file itself stays as it is: the same file, not a copy renamed over it.
    SaveFixture f;
    struct stat before {};
    QCOMPARE(::stat(QFile::encodeName(f.shown).constData(), &before), 0);
    f.okay(QStringLiteral("photo.jpg"), f.root.filePath(QStringLiteral("shown")));
    QVERIFY(!f.saveasOpen());
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QVERIFY(f.test.files.writes.isEmpty());
    struct stat after {};
    QCOMPARE(::stat(QFile::encodeName(f.shown).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(f.root.read(QStringLiteral("shown/photo.jpg")), f.jpeg);
}

void TestSaveas::ticked_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("bitmap name") << "pic.bmp";
    QTest::newRow("no checks: a name without a dot") << "picture";
}

void TestSaveas::ticked()
{
    QFETCH(QString, name);

    SaveFixture f;
    // A file of that name in the current folder is never touched.
    const QString current = f.root.createDir(QStringLiteral("current"));
    f.root.createFile(QStringLiteral("current/") + name, "keep me");
    QDir::setCurrent(current);
    f.okay(name, QStringLiteral("ignored;folder"), true);

    QVERIFY(!f.saveasOpen());
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QCOMPARE(f.root.read(QStringLiteral("current/") + name), QByteArray("keep me"));
    // The picture, a bitmap, as a Windows bitmap in the fixed folder.
    QFile saved(f.test.tempHome() + QLatin1Char('/') + name);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(QImage::fromData(bytes).size(), QSize(32, 24));
    QCOMPARE(QDir::currentPath(), current);
}

void TestSaveas::afterViewerClosed()
{
    SaveFixture f;
    f.viewGraphic.viewer().get()->menus().action(QStringLiteral("mnuSaveAs"))->trigger();
    f.viewGraphic.viewer().get()->mnuExit_Click();
    QVERIFY(!f.viewGraphic.viewer().isLoaded());

    // Okay loads the viewer again, with its open dialog, and copies what it then shows.
    const QString folder = f.root.createDir(QStringLiteral("Pictures"));
    f.test.dialogs.answerText(f.shown);
    f.okay(QStringLiteral("again.jpg"), folder);
    QCOMPARE(f.test.dialogs.fileRequests().size(), 2);
    QVERIFY(f.viewGraphic.viewer().isLoaded());
    QCOMPARE(f.root.read(QStringLiteral("Pictures/again.jpg")), f.jpeg);
    QVERIFY(!f.saveasOpen());

    // Cancelled there, nothing is copied and the dialog says so.
    f.viewGraphic.viewer().get()->mnuExit_Click();
    f.test.dialogs.answerText(std::nullopt);
    f.test.dialogs.answerMessage(MessageAnswer::Ok);
    f.okay(QStringLiteral("never.jpg"), folder);
    QVERIFY(!QFile::exists(folder + QStringLiteral("/never.jpg")));
    QCOMPARE(f.test.dialogs.messageTexts().last(),
             QStringLiteral("Could not copy the picture to ") + folder + QStringLiteral("/never.jpg."));
}

void TestSaveas::tickedKinds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("savedAs");

    WmfBuilder wmf;
    wmf.brush(0, Qt::red).select(0).rectangle(0, 0, 50, 50);
    QTest::newRow("icon as icon") << PictureFixtures::encode(PictureFixtures::image(16, 16), "ico") << QByteArray("ico");
    QTest::newRow("GIF as bitmap") << PictureFixtures::encode(PictureFixtures::image(16, 16), "gif") << QByteArray("bmp");
    QTest::newRow("metafile as itself") << wmf.build(QRect(0, 0, 100, 100), 1440) << QByteArray("wmf");
}

void TestSaveas::tickedKinds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, savedAs);

    SaveFixture f;
    const QString other = f.root.createFile(QStringLiteral("shown/other"), bytes);
    f.test.dialogs.answerText(other);
    f.viewGraphic.viewer().get()->mnuOpen_Click();
    QCOMPARE(f.viewGraphic.viewer().get()->fileName(), other);
    f.okay(QStringLiteral("saved.pic"), QString(), true);

    QFile saved(f.test.tempHome() + QStringLiteral("/saved.pic"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray written = saved.readAll();
    if (savedAs == "wmf") {
        QCOMPARE(written, bytes);
        return;
    }
    QBuffer buffer;
    buffer.setData(written);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    QCOMPARE(reader.format(), savedAs);
    QCOMPARE(reader.read().size(), QSize(16, 16));
}

namespace {
// Where Okay puts pic.bmp: the fixed folder (ticked), or the folder Pictures of the test's root.
QString savedPath(SaveFixture &f, bool ticked)
{
    if (ticked)
        return f.test.tempHome() + QStringLiteral("/pic.bmp");
    return f.root.createDir(QStringLiteral("Pictures")) + QStringLiteral("/pic.bmp");
}

void savePic(SaveFixture &f, bool ticked)
{
    f.okay(QStringLiteral("pic.bmp"), ticked ? QString() : f.root.filePath(QStringLiteral("Pictures")), ticked);
}
} // namespace

void TestSaveas::replacesALinkLeftInTheFolder_data()
{
    QTest::addColumn<bool>("ticked");

    QTest::newRow("ticked: the fixed folder") << true;
    QTest::newRow("copy to a folder") << false;
}

void TestSaveas::replacesALinkLeftInTheFolder()
{
    QFETCH(bool, ticked);

    // Another user's link under the name, to a file of ours elsewhere.
    SaveFixture f;
    TestDir elsewhere;
    const QString precious = elsewhere.createFile(QStringLiteral("precious.conf"), "keep me");
    const QString target = savedPath(f, ticked);
    QVERIFY(QFile::link(precious, target));

    savePic(f, ticked);

    QCOMPARE(elsewhere.read(QStringLiteral("precious.conf")), QByteArray("keep me"));
    QVERIFY(!QFileInfo(target).isSymLink());
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    if (ticked)
        QVERIFY(bytes.startsWith("BM"));
    else
        QCOMPARE(bytes, f.jpeg);
    QVERIFY(f.test.dialogs.messages().isEmpty());
    QVERIFY(!f.saveasOpen());
}

void TestSaveas::newFileMode_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("mode");

    for (const bool ticked : {true, false}) {
        const char *way = ticked ? "ticked" : "copy to a folder";
        QTest::addRow("%s, umask 022", way) << ticked << 022 << 0644;
        QTest::addRow("%s, umask 027", way) << ticked << 027 << 0640;
        QTest::addRow("%s, umask 077", way) << ticked << 077 << 0600;
    }
}

void TestSaveas::newFileMode()
{
    QFETCH(bool, ticked);
    QFETCH(int, umask);
    QFETCH(int, mode);

    // A new file is made as every other file: with the user's umask, whatever the mode of the
    // file it copies.
    SaveFixture f;
    QVERIFY(::chmod(QFile::encodeName(f.shown).constData(), 0666) == 0);
    const QByteArray path = QFile::encodeName(savedPath(f, ticked));
    const mode_t before = ::umask(mode_t(umask));
    savePic(f, ticked);
    ::umask(before);
    struct stat st {};
    QCOMPARE(::stat(path.constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), mode);

    // Saved again over it, the file keeps the mode it has.
    QVERIFY(::chmod(path.constData(), 0604) == 0);
    savePic(f, ticked);
    QCOMPARE(::stat(path.constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), 0604);
    QVERIFY(f.test.dialogs.messages().isEmpty());
}

QTEST_MAIN(TestSaveas)
#include "tst_saveas.moc"
