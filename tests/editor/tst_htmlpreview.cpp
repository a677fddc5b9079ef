// The editor's HTML menu, Show Changes, View Html and the HTML viewer Web1.

#include "EditorFixture.h"

#include "editor/HtmlPreview.h"
#include "editor/Web1.h"
#include "platform/PathCodec.h"
#include "platform/ui/MenuTree.h"
#include "support/TestCase.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

class HtmlPreviewTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;
    QString m_activePaneFile;

    // The editor as the main window builds it, with the active pane's file from this test.
    void useActivePane()
    {
        f = std::make_unique<EditorFixture>([this] { return m_activePaneFile; });
    }
    HtmlPreview &html() { return f->editor.html(); }
    QStringList &addresses() { return f->services.browser.addresses; }
    Textpad *loaded(const QString &relative, const QByteArray &contents)
    {
        const QString path = f->dir.createFile(relative, contents);
        if (!f->load(path))
            return nullptr;
        return f->window();
    }

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        m_activePaneFile.clear();
        useActivePane();
    }
    void cleanup()
    {
        QVERIFY(f->dialogs().scriptIsEmpty());
        f.reset();
    }

    void showChangesPreviewsTheUnsavedText();
    void addressesAreFullyEncoded();
    void showChangesDoesNothing_data();
    void showChangesDoesNothing();
    void failedPreviewWriteStartsNoBrowser();
    void showChangesNeverWritesThroughALink_data();
    void showChangesNeverWritesThroughALink();
    void viewHtmlOpensTheDocumentItself();
    void previewRoadClosesBusyOrNot_data();
    void previewRoadClosesBusyOrNot();
    void paneRoadStaysOpenWhileBusy();
    void paneRoadWithoutAFile();
    void menuFollowsTheActivePaneAtLoad_data();
    void menuFollowsTheActivePaneAtLoad();
};

void HtmlPreviewTest::showChangesPreviewsTheUnsavedText()
{
    Textpad *textpad = loaded(QStringLiteral("w/INDEX.HTM"), "<p>saved</p>\n");
    textpad->setHtmlMenuVisible(true);
    f->type(QStringLiteral("<p>new</p>"));
    textpad->menus().action(QStringLiteral("mnuHtmledit1"))->trigger();

    QCOMPARE(f->dir.read(QStringLiteral("w/temp.html")), QByteArray("<p>saved</p>\n<p>new</p>\n"));
    QCOMPARE(f->dir.read(QStringLiteral("w/INDEX.HTM")), QByteArray("<p>saved</p>\n"));
    QCOMPARE(addresses(), QStringList{QStringLiteral("file://") + f->path(QStringLiteral("w/temp.html"))});
    QCOMPARE(f->services.browser.styles, QList<WindowStyle>{WindowStyle::Normal});
    QVERIFY(f->changed());
    QCOMPARE(textpad->windowTitle(), f->path(QStringLiteral("w/INDEX.HTM")).toUpper());
    // The viewer closed itself; the menu is back.
    QVERIFY(!html().web1().isLoaded());
    QVERIFY(textpad->isHtmlMenuVisible());
    QCOMPARE(f->services.browserAutomation.quits, 1);
}

void HtmlPreviewTest::addressesAreFullyEncoded()
{
    Textpad *textpad = loaded(QStringLiteral("my site; #1 100%/index.html"), "<p/>");
    textpad->menus().action(QStringLiteral("mnuHtmledit1"))->trigger();
    QCOMPARE(addresses().size(), 1);
    const QString address = addresses().first();
    QVERIFY2(!address.contains(QLatin1Char(' ')) && !address.contains(QLatin1Char('#')), qPrintable(address));
    QCOMPARE(QUrl::fromEncoded(address.toLatin1(), QUrl::StrictMode).toLocalFile(),
             f->path(QStringLiteral("my site; #1 100%/temp.html")));
    QCOMPARE(HtmlPreview::fileAddress(QStringLiteral("/t/w/temp.html")), QStringLiteral("file:///t/w/temp.html"));
}

void HtmlPreviewTest::showChangesDoesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("not an HTML ending") << "page.txt";
    QTest::newRow("the document is temp.html itself") << "temp.html";
    QTest::newRow("untitled") << QString();
}

void HtmlPreviewTest::showChangesDoesNothing()
{
    QFETCH(QString, name);
    Textpad *textpad = name.isEmpty() ? f->window() : loaded(name, "original\n");
    if (name.isEmpty())
        textpad->StartNewDocument();
    f->type(QStringLiteral("typed"));
    textpad->setHtmlMenuVisible(true);
    textpad->menus().action(QStringLiteral("mnuHtmledit1"))->trigger();
    QVERIFY(addresses().isEmpty());
    QVERIFY(textpad->isHtmlMenuVisible());
    if (!name.isEmpty())
        QCOMPARE(f->dir.read(name), QByteArray("original\n"));
    QVERIFY(!f->dir.entries().contains(QStringLiteral("temp.html")) || name == QLatin1String("temp.html"));
}

void HtmlPreviewTest::failedPreviewWriteStartsNoBrowser()
{
    Textpad *textpad = loaded(QStringLiteral("w/index.htm"), "<p/>");
    textpad->setHtmlMenuVisible(true);
    f->services.files.writeErrors.insert(f->path(QStringLiteral("w/temp.html")), 75);
    f->dialogs().answerMessage(MessageAnswer::Ok);
    textpad->menus().action(QStringLiteral("mnuHtmledit1"))->trigger();
    QCOMPARE(f->dialogs().messages().last().icon, MessageIcon::Exclamation);
    QVERIFY(addresses().isEmpty());
    QVERIFY(!html().web1().isLoaded());
    QVERIFY(textpad->isHtmlMenuVisible());
}

void HtmlPreviewTest::showChangesNeverWritesThroughALink_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("previews");
    QTest::newRow("temp.html is a link to a file outside") << "temp.html -> ../precious.conf" << true;
    QTest::newRow("the document is a link to temp.html") << "index.html -> temp.html" << false;
    QTest::newRow("temp.html is a link to the document") << "temp.html -> index.html" << false;
    QTest::newRow("temp.html is a second name of the document") << "hard link" << false;
}

// The preview never changes a file but its own: not the file a link named temp.html points to,
// and never the document, whatever links join the two.
void HtmlPreviewTest::showChangesNeverWritesThroughALink()
{
    QFETCH(QString, layout);
    QFETCH(bool, previews);
    const QString outside = f->dir.createFile(QStringLiteral("precious.conf"), "keep me\n");
    const QString preview = f->path(QStringLiteral("w/temp.html"));
    QString document = f->path(QStringLiteral("w/index.html"));
    const auto link = [](const char *target, const QString &at) {
        QVERIFY(::symlink(target, PathCodec::encode(at).constData()) == 0);
    };
    if (layout == QLatin1String("temp.html -> ../precious.conf")) {
        f->dir.createFile(QStringLiteral("w/index.html"), "<p>saved</p>\n");
        link("../precious.conf", preview);
    } else if (layout == QLatin1String("index.html -> temp.html")) {
        f->dir.createFile(QStringLiteral("w/temp.html"), "<p>saved</p>\n");
        link("temp.html", document);
    } else if (layout == QLatin1String("temp.html -> index.html")) {
        f->dir.createFile(QStringLiteral("w/index.html"), "<p>saved</p>\n");
        link("index.html", preview);
    } else {
        f->dir.createFile(QStringLiteral("w/index.html"), "<p>saved</p>\n");
        QVERIFY(::link(PathCodec::encode(document).constData(), PathCodec::encode(preview).constData()) == 0);
    }
    QVERIFY(f->load(document));
    Textpad *textpad = f->window();
    f->type(QStringLiteral("<p>unsaved</p>"));
    const auto previewStatus = [&] {
        struct stat st = {};
        ::lstat(PathCodec::encode(preview).constData(), &st);
        return st;
    };
    const struct stat before = previewStatus();
    textpad->menus().action(QStringLiteral("mnuHtmledit1"))->trigger();

    QCOMPARE(f->dir.read(QStringLiteral("precious.conf")), QByteArray("keep me\n"));
    QCOMPARE(f->services.files.readFile(document, 100).data, QByteArray("<p>saved</p>\n"));
    QVERIFY(f->changed());
    const struct stat after = previewStatus();
    if (previews) {
        QVERIFY(S_ISREG(after.st_mode));
        QCOMPARE(f->dir.read(QStringLiteral("w/temp.html")), QByteArray("<p>saved</p>\n<p>unsaved</p>\n"));
        QCOMPARE(addresses(), QStringList{HtmlPreview::fileAddress(preview)});
    } else {
        // Refused: temp.html is the very name it was (link or file), and no browser starts.
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        QVERIFY(addresses().isEmpty());
    }
}

void HtmlPreviewTest::viewHtmlOpensTheDocumentItself()
{
    Textpad *textpad = loaded(QStringLiteral("site/Home Page.html"), "<p/>");
    f->type(QStringLiteral("unsaved"));
    textpad->menus().action(QStringLiteral("mnuView"))->trigger();
    QCOMPARE(addresses(), QStringList{HtmlPreview::fileAddress(f->path(QStringLiteral("site/Home Page.html")))});
    QVERIFY(!html().web1().isLoaded());
    QVERIFY(!f->dir.entries(QStringLiteral("site")).contains(QStringLiteral("temp.html")));

    // An untitled document has no file to show.
    f->dialogs().answerMessage(MessageAnswer::No);
    textpad->StartNewDocument();
    textpad->menus().action(QStringLiteral("mnuView"))->trigger();
    QCOMPARE(addresses().size(), 1);
}

void HtmlPreviewTest::previewRoadClosesBusyOrNot_data()
{
    QTest::addColumn<bool>("busy");
    QTest::newRow("not busy: asked to quit") << false;
    QTest::newRow("busy") << true;
}

void HtmlPreviewTest::previewRoadClosesBusyOrNot()
{
    QFETCH(bool, busy);
    f->services.browserAutomation.busy = busy;
    Textpad *textpad = loaded(QStringLiteral("index.htm"), "<p/>");
    textpad->menus().action(QStringLiteral("mnuHtmledit1"))->trigger();
    QCOMPARE(addresses().size(), 1);
    QVERIFY(!html().web1().isLoaded());
    QCOMPARE(f->services.browserAutomation.quits, busy ? 0 : 1);
}

void HtmlPreviewTest::paneRoadStaysOpenWhileBusy()
{
    m_activePaneFile = f->dir.createFile(QStringLiteral("pane/view.htm"), "<p/>");
    f->services.browserAutomation.busy = true;
    html().showWeb1();
    QCOMPARE(addresses(), QStringList{HtmlPreview::fileAddress(m_activePaneFile)});
    Web1 *web1 = html().web1().ifLoaded();
    QVERIFY(web1);
    QVERIFY(web1->isVisible());
    QCOMPARE(web1->windowTitle(), QStringLiteral("Html Viewer"));
    QCOMPARE(web1->size(), QGuiApplication::primaryScreen()->geometry().size());
    QCOMPARE(web1->menus().dump(), QStringList({QStringLiteral("- | mnuExit | Exit |  | visible"),
                                                QStringLiteral("mnuExit | mnuExit1 | Exit |  | visible")}));

    // Shown again while open: nothing more is started, and Show Changes' cue waits.
    html().showWeb1();
    Textpad *textpad = loaded(QStringLiteral("doc.htm"), "<p/>");
    textpad->menus().action(QStringLiteral("mnuHtmledit1"))->trigger();
    QCOMPARE(addresses().size(), 1);
    QVERIFY(!textpad->isHtmlMenuVisible());

    web1->menus().action(QStringLiteral("mnuExit1"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!html().web1().isLoaded());
    f->services.browserAutomation.busy = false;
    html().showWeb1();
    QCOMPARE(addresses().last(), HtmlPreview::fileAddress(f->path(QStringLiteral("temp.html"))));
    QVERIFY(textpad->isHtmlMenuVisible());
    QVERIFY(!html().web1().isLoaded());
}

void HtmlPreviewTest::paneRoadWithoutAFile()
{
    f->dialogs().answerMessage(MessageAnswer::Ok);
    html().showWeb1();
    QCOMPARE(f->dialogs().messageTexts(), QStringList{QStringLiteral("Please select a file first")});
    QVERIFY(addresses().isEmpty());
    QVERIFY(!html().web1().isLoaded());
}

void HtmlPreviewTest::menuFollowsTheActivePaneAtLoad_data()
{
    QTest::addColumn<QString>("activeFile");
    QTest::addColumn<bool>("shows");
    QTest::newRow("no active pane") << QString() << false;
    QTest::newRow("HTML file") << "/d/Page.HTML" << true;
    QTest::newRow("text file") << "/d/notes.txt" << false;
    QTest::newRow("mixed-case ending") << "/d/page.hTm" << false;
}

void HtmlPreviewTest::menuFollowsTheActivePaneAtLoad()
{
    QFETCH(QString, activeFile);
    QFETCH(bool, shows);
    m_activePaneFile = activeFile;
    QCOMPARE(f->window()->isHtmlMenuVisible(), shows);
    // The test runs at the load only: an open window keeps its menu.
    m_activePaneFile = QStringLiteral("/d/other.htm");
    QCOMPARE(f->editor.show()->isHtmlMenuVisible(), shows);
}

QTEST_MAIN(HtmlPreviewTest)
#include "tst_htmlpreview.moc"
