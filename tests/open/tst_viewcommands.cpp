#include "OpenFixture.h"

#include "panes/Pane.h"
#include "support/TestCase.h"

// View Text with its text-type opening of every pane, and View Html, on real files with the
// editor and the HTML viewer recorded.
class TestViewCommands : public TestCase
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); m_fixture = std::make_unique<OpenFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void viewTextOpensTextTypes_data();
    void viewTextOpensTextTypes();
    void viewTextJoinsFolderAndName_data();
    void viewTextJoinsFolderAndName();
    void eachPaneReadsItsOwnLists_data();
    void eachPaneReadsItsOwnLists();
    void viewTextWithoutActivePaneOrFile();

    void viewHtmlGate_data();
    void viewHtmlGate();
    void viewHtmlOpensTheActivePanesFile();
    void viewHtmlWithoutActivePane();
    void viewHtmlShowsTheViewerOnceTheFileIsIn_data();
    void viewHtmlShowsTheViewerOnceTheFileIsIn();

private:
    std::unique_ptr<OpenFixture> m_fixture;
};

void TestViewCommands::viewTextOpensTextTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("report.TXT") << "report.TXT" << true;
    QTest::newRow("report.txt") << "report.txt" << true;
    QTest::newRow("report.Txt") << "report.Txt" << true;
    QTest::newRow("report.tXt") << "report.tXt" << false;
    QTest::newRow("report.TxT") << "report.TxT" << false;
    QTest::newRow("font.TTF") << "font.TTF" << true;
    QTest::newRow("font.ttf") << "font.ttf" << true;
    QTest::newRow("font.Ttf") << "font.Ttf" << false;
    QTest::newRow("news.AGO") << "news.AGO" << true;
    QTest::newRow("news.Ago") << "news.Ago" << true;
    QTest::newRow("news.ago") << "news.ago" << false;
    QTest::newRow("copying.GPL") << "copying.GPL" << true;
    QTest::newRow("copying.gpl") << "copying.gpl" << true;
    QTest::newRow("copying.Gpl") << "copying.Gpl" << false;
    QTest::newRow("catalog, no dot") << "catalog" << true;
    QTest::newRow("a file named txt") << "txt" << true;
    QTest::newRow("index.html") << "index.html" << true;
    QTest::newRow("index.HTML") << "index.HTML" << true;
    QTest::newRow("index.Htm") << "index.Htm" << true;
    QTest::newRow("index.HtMl") << "index.HtMl" << false;
    QTest::newRow("page.HTT") << "page.HTT" << true;
    QTest::newRow("setup.Inf") << "setup.Inf" << true;
    QTest::newRow("file_id.DIZ") << "file_id.DIZ" << true;
    QTest::newRow("backup.txt.bak") << "backup.txt.bak" << true;
    QTest::newRow("notes.txt.old") << "notes.txt.old" << false;
    QTest::newRow("app.config") << "app.config" << false;
    QTest::newRow("photo.bmp") << "photo.bmp" << false;
    QTest::newRow("ab") << "ab" << false;
}

void TestViewCommands::viewTextOpensTextTypes()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    TestDir dir;
    const QString path = dir.createFile(name);
    m_fixture->open(2, dir.path());
    m_fixture->click(2, name);

    m_fixture->views.mnuOpenTextFile_Click();

    QCOMPARE(m_fixture->happened(), opens ? QStringList{QStringLiteral("edit ") + path} : QStringList());
}

void TestViewCommands::viewTextJoinsFolderAndName_data()
{
    QTest::addColumn<bool>("atRoot");
    QTest::addColumn<int>("pane");
    QTest::newRow("pane 1 in a folder") << false << 1;
    QTest::newRow("pane 4 in a folder") << false << 4;
    QTest::newRow("pane 1 at the root") << true << 1;
    QTest::newRow("pane 5 at the root") << true << 5;
}

void TestViewCommands::viewTextJoinsFolderAndName()
{
    QFETCH(bool, atRoot);
    QFETCH(int, pane);
    TestDir dir;
    dir.createFile(QStringLiteral("notes.txt"));
    OpenFixture &f = *m_fixture;
    f.open(pane, dir.path());
    f.click(pane, QStringLiteral("notes.txt"));
    if (atRoot) {
        // The join follows the folder list: at "/" no second slash is put in.
        f.board.pane(pane).folderList()->setPath(QStringLiteral("/"));
        f.fileList(pane)->setPath(dir.path());
        f.select(pane, QStringLiteral("notes.txt"));
    }

    f.views.mnuOpenTextFile_Click();

    const QString expected = atRoot ? QStringLiteral("/notes.txt") : dir.path() + QStringLiteral("/notes.txt");
    QCOMPARE(f.editor.loaded, QStringList{expected});
}

void TestViewCommands::eachPaneReadsItsOwnLists_data()
{
    QTest::addColumn<int>("pane");
    for (int n = 1; n <= PaneCount; ++n)
        QTest::addRow("pane %d", n) << n;
}

void TestViewCommands::eachPaneReadsItsOwnLists()
{
    // Every pane on a folder of its own with a text file of its own; panes 3 to 5 are hidden,
    // as in the two-pane layout.
    QFETCH(int, pane);
    OpenFixture &f = *m_fixture;
    TestDir dir;
    QStringList paths;
    for (int n = 1; n <= PaneCount; ++n) {
        const QString name = QStringLiteral("pane%1.txt").arg(n);
        paths << dir.createFile(QStringLiteral("p%1/").arg(n) + name);
        f.open(n, dir.filePath(QStringLiteral("p%1").arg(n)));
        f.select(n, name);
        if (n >= 3)
            f.board.pane(n).setVisible(false);
    }
    f.board.fileListClick(pane);

    f.views.mnuOpenTextFile_Click();

    QCOMPARE(f.editor.loaded, QStringList{paths.at(pane - 1)});
}

void TestViewCommands::viewTextWithoutActivePaneOrFile()
{
    TestDir dir;
    dir.createFile(QStringLiteral("notes.txt"));
    OpenFixture &f = *m_fixture;
    f.open(1, dir.path());
    f.select(1, QStringLiteral("notes.txt"));

    // No file list clicked yet: nothing at all.
    f.views.mnuOpenTextFile_Click();
    QCOMPARE(f.happened(), QStringList());

    // The active pane without a current file, whatever the others hold.
    f.open(4, dir.createDir(QStringLiteral("empty")));
    f.board.fileListClick(4);
    f.views.mnuOpenTextFile_Click();
    QCOMPARE(f.happened(), QStringList{QStringLiteral("message Please select an existing file")});
}

void TestViewCommands::viewHtmlGate_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("page.Html") << "page.Html" << true;
    QTest::newRow("PAGE.HTM") << "PAGE.HTM" << true;
    QTest::newRow("page.shtml") << "page.shtml" << true;
    QTest::newRow("xhtm, no dot") << "xhtm" << true;
    QTest::newRow("page.hTm") << "page.hTm" << false;
    QTest::newRow("page.htmx") << "page.htmx" << false;
    QTest::newRow("page.HTT") << "page.HTT" << false;
}

void TestViewCommands::viewHtmlGate()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    TestDir dir;
    const QString path = dir.createFile(name);
    m_fixture->open(3, dir.path());
    m_fixture->click(3, name);

    m_fixture->views.mnuHtm_0_Click();

    const QStringList expected{QStringLiteral("edit ") + path, QStringLiteral("html ") + path};
    QCOMPARE(m_fixture->happened(), opens ? expected : QStringList());
}

void TestViewCommands::viewHtmlOpensTheActivePanesFile()
{
    // The gate passes on a hidden pane's page; the file that opens is the active pane's,
    // whatever its ending.
    TestDir dir;
    const QString web = dir.createDir(QStringLiteral("web"));
    dir.createFile(QStringLiteral("web/a.htm"));
    const QString notes = dir.createFile(QStringLiteral("notes.txt"));
    OpenFixture &f = *m_fixture;
    f.open(5, web);
    f.open(2, dir.path());
    f.click(2, QStringLiteral("notes.txt"));
    f.select(5, QStringLiteral("a.htm"));
    f.board.pane(5).setVisible(false);

    f.views.mnuHtm_0_Click();

    QCOMPARE(f.happened(), (QStringList{QStringLiteral("edit ") + notes, QStringLiteral("html ") + notes}));
}

void TestViewCommands::viewHtmlWithoutActivePane()
{
    TestDir dir;
    dir.createFile(QStringLiteral("a.html"));
    OpenFixture &f = *m_fixture;
    f.open(1, dir.path());
    f.select(1, QStringLiteral("a.html"));

    f.views.mnuHtm_0_Click();

    QCOMPARE(f.happened(), QStringList());
}

void TestViewCommands::viewHtmlShowsTheViewerOnceTheFileIsIn_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::newRow("the file is in") << true;
    QTest::newRow("the editor keeps its text") << false;
}

void TestViewCommands::viewHtmlShowsTheViewerOnceTheFileIsIn()
{
    QFETCH(bool, loaded);
    TestDir dir;
    const QString page = dir.createFile(QStringLiteral("a.html"));
    OpenFixture &f = *m_fixture;
    f.open(1, dir.path());
    f.click(1, QStringLiteral("a.html"));
    f.editor.later = true;
    f.editor.accept = loaded;

    f.views.mnuHtm_0_Click();
    QCOMPARE(f.happened(), QStringList{QStringLiteral("edit ") + page});
    f.editor.finishLoad();
    QStringList expected{QStringLiteral("edit ") + page};
    if (loaded)
        expected << QStringLiteral("html ") + page;
    QCOMPARE(f.happened(), expected);
}

QTEST_MAIN(TestViewCommands)
#include "tst_viewcommands.moc"
