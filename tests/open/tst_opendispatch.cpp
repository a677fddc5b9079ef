#include "OpenFixture.h"

#include "panes/Pane.h"
#include "support/TestCase.h"

// The double-click dispatch, the pop-up Run and File > "Run ", on real files with the
// program starts recorded.
class TestOpenDispatch : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); m_fixture = std::make_unique<OpenFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void opensByEnding_data();
    void opensByEnding();
    void noneOrSeveralSelected();
    void pathWithBlanksAndSemicolonsReachesTheLauncherWhole();
    void opensTheSelectedFileNotTheCurrentItem();
    void failedStartIsNotReported();
    void fileMenuRunTakesTheFirstPaneWithASelection();
    void fileMenuRunWithoutSelection();
    void fileMenuRunOnACurrentItemWithoutSelection();

private:
    std::unique_ptr<OpenFixture> m_fixture;
};

void TestOpenDispatch::opensByEnding_data()
{
    // %1 is the file's path, %2 its folder.
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    const QStringList start{QStringLiteral("start %1 in %2")};
    const QStringList play{QStringLiteral("open %1")};
    const QStringList graphic{QStringLiteral("view graphic")};
    const QStringList html{QStringLiteral("edit %1"), QStringLiteral("html %1")};
    const QStringList refused{QStringLiteral("message Not an executable file")};

    QTest::newRow("SETUP.EXE, pane 1") << 1 << "SETUP.EXE" << start;
    QTest::newRow("SETUP.EXE, pane 2") << 2 << "SETUP.EXE" << start;
    QTest::newRow("Setup.Exe") << 1 << "Setup.Exe" << start;
    QTest::newRow("setup.exe") << 2 << "setup.exe" << start;
    QTest::newRow("Setup.eXe is refused") << 2 << "Setup.eXe" << refused;
    QTest::newRow("batch file without a dot") << 2 << "combat" << start;
    QTest::newRow("library") << 1 << "library.dll" << start;
    QTest::newRow("plateau ends in au") << 2 << "plateau" << play;
    QTest::newRow("clip.mpeg, pane 1") << 1 << "clip.mpeg" << play;
    QTest::newRow("clip.MPEG, pane 1") << 1 << "clip.MPEG" << play;
    QTest::newRow("clip.mpeg, pane 2") << 2 << "clip.mpeg" << refused;
    QTest::newRow("clip.mpg, pane 2") << 2 << "clip.mpg" << play;
    QTest::newRow("SONG.MIDI") << 2 << "SONG.MIDI" << play;
    QTest::newRow("song.Aifc") << 1 << "song.Aifc" << play;
    QTest::newRow("song.mP3 is refused") << 1 << "song.mP3" << refused;
    QTest::newRow("page.shtml") << 2 << "page.shtml" << html;
    QTest::newRow("INDEX.HTM") << 1 << "INDEX.HTM" << html;
    QTest::newRow("photo.jpeg") << 2 << "photo.jpeg" << graphic;
    QTest::newRow("icon.Ico") << 1 << "icon.Ico" << graphic;
    QTest::newRow("readme.txt is refused") << 1 << "readme.txt" << refused;
    QTest::newRow("archive.zip is refused") << 2 << "archive.zip" << refused;
}

void TestOpenDispatch::opensByEnding()
{
    QFETCH(int, pane);
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    TestDir dir;
    const QString folder = dir.createDir(QStringLiteral("files"));
    const QString path = dir.createFile(QStringLiteral("files/") + name);
    m_fixture->open(pane, folder);
    m_fixture->click(pane, name);

    m_fixture->dispatch.OpenByType(pane);

    // Not arg(): a row without a placeholder would warn.
    for (QString &line : expected)
        line.replace(QLatin1String("%2"), folder).replace(QLatin1String("%1"), path);
    QCOMPARE(m_fixture->happened(), expected);
}

void TestOpenDispatch::noneOrSeveralSelected()
{
    TestDir dir;
    dir.createFile(QStringLiteral("a.exe"));
    dir.createFile(QStringLiteral("b.exe"));
    const QString empty = dir.createDir(QStringLiteral("empty"));
    OpenFixture &f = *m_fixture;

    f.open(1, empty);
    f.dispatch.OpenByType(1);
    f.open(2, dir.path());
    f.fileList(2)->setListIndex(1);
    f.dispatch.OpenByType(2);
    QCOMPARE(f.happened(), QStringList());

    f.fileList(2)->setSelected(0, true);
    f.fileList(2)->setSelected(1, true);
    f.dispatch.OpenByType(2);
    QCOMPARE(f.happened(), QStringList{QStringLiteral("message Please select one file at a time.")});
}

void TestOpenDispatch::pathWithBlanksAndSemicolonsReachesTheLauncherWhole()
{
    TestDir dir;
    const QString folder = dir.createDir(QStringLiteral("my files; x"));
    const QString program = dir.createFile(QStringLiteral("my files; x/run me;now.exe"));
    const QString song = dir.createFile(QStringLiteral("my files; x/my song; live.mp3"));
    OpenFixture &f = *m_fixture;
    f.open(3, folder);

    f.click(3, QStringLiteral("run me;now.exe"));
    f.dispatch.OpenByType(3);
    f.click(3, QStringLiteral("my song; live.mp3"));
    f.dispatch.OpenByType(3);

    QCOMPARE(f.test.programs.starts.size(), 1);
    QCOMPARE(f.test.programs.starts.at(0).program, program);
    QCOMPARE(f.test.programs.starts.at(0).style, WindowStyle::Normal);
    QCOMPARE(f.test.programs.starts.at(0).folder, folder);
    QCOMPARE(f.test.shellOpen.opened, QStringList{song});
}

void TestOpenDispatch::opensTheSelectedFileNotTheCurrentItem()
{
    // Ctrl+click on a second file and again on it leaves the first one selected and the
    // second one current.
    TestDir dir;
    const QString program = dir.createFile(QStringLiteral("a.exe"));
    dir.createFile(QStringLiteral("b.txt"));
    OpenFixture &f = *m_fixture;
    f.open(4, dir.path());
    f.click(4, QStringLiteral("a.exe"));
    f.fileList(4)->setListIndex(1);

    f.dispatch.OpenByType(4);

    QCOMPARE(f.happened(), QStringList{QStringLiteral("start %1 in %2").arg(program, dir.path())});
}

void TestOpenDispatch::failedStartIsNotReported()
{
    TestDir dir;
    dir.createFile(QStringLiteral("driver.sys"));
    dir.createFile(QStringLiteral("song.wav"));
    OpenFixture &f = *m_fixture;
    f.test.programs.succeed = false;
    f.test.shellOpen.succeed = false;
    f.open(5, dir.path());

    f.click(5, QStringLiteral("driver.sys"));
    f.dispatch.OpenByType(5);
    f.click(5, QStringLiteral("song.wav"));
    f.dispatch.OpenByType(5);

    QCOMPARE(f.test.programs.starts.size(), 1);
    QCOMPARE(f.test.shellOpen.opened.size(), 1);
    QCOMPARE(f.test.dialogs.messageTexts(), QStringList());
}

void TestOpenDispatch::fileMenuRunTakesTheFirstPaneWithASelection()
{
    TestDir dir;
    const QString empty = dir.createDir(QStringLiteral("empty"));
    const QString tools = dir.createDir(QStringLiteral("tools"));
    dir.createFile(QStringLiteral("tools/a.txt"));
    dir.createFile(QStringLiteral("tools/b.txt"));
    const QString program = dir.createFile(QStringLiteral("tools/c.exe"));
    const QString pictures = dir.createDir(QStringLiteral("pictures"));
    dir.createFile(QStringLiteral("pictures/photo.bmp"));
    OpenFixture &f = *m_fixture;
    f.open(1, empty);
    f.open(2, tools);
    f.open(3, pictures);
    f.click(2, QStringLiteral("c.exe"));
    f.select(3, QStringLiteral("photo.bmp"));
    // A hidden pane counts like a shown one.
    f.board.pane(2).setVisible(false);

    f.dispatch.mnuExecute0_Click();
    QCOMPARE(f.happened(), QStringList{QStringLiteral("start %1 in %2").arg(program, tools)});

    f.fileList(2)->setSelected(2, false);
    f.fileList(2)->setListIndex(-1);
    f.dispatch.mnuExecute0_Click();
    QCOMPARE(f.pictures.calls, 1);
}

void TestOpenDispatch::fileMenuRunWithoutSelection()
{
    TestDir dir;
    dir.createFile(QStringLiteral("a.exe"));
    OpenFixture &f = *m_fixture;
    for (int n = 1; n <= PaneCount; ++n)
        f.open(n, dir.path());

    f.dispatch.mnuExecute0_Click();

    QCOMPARE(f.happened(),
             QStringList{QStringLiteral(
                 "message Please select a executable file with a .exe,.com,.bat,or.sys extension first")});
}

void TestOpenDispatch::fileMenuRunOnACurrentItemWithoutSelection()
{
    // The pane passes by its current item, but nothing in it is selected: it is taken, and
    // its dispatch has nothing to open.
    TestDir dir;
    dir.createFile(QStringLiteral("a.exe"));
    dir.createFile(QStringLiteral("b.exe"));
    const QString other = dir.createDir(QStringLiteral("other"));
    dir.createFile(QStringLiteral("other/c.exe"));
    OpenFixture &f = *m_fixture;
    f.open(1, dir.path());
    f.open(2, other);
    f.click(2, QStringLiteral("c.exe"));
    f.fileList(1)->setListIndex(1);

    f.dispatch.mnuExecute0_Click();

    QCOMPARE(f.happened(), QStringList());
}

QTEST_MAIN(TestOpenDispatch)
#include "tst_opendispatch.moc"
