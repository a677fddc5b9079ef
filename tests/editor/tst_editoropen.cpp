// File > Open in the editor: its two roads and the state of the window's one file dialog.

#include "EditorFixture.h"

#include "editor/TextpadDesign.h"
#include "support/TestCase.h"

class EditorOpenTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;

private Q_SLOTS:
    void init() { failOnUnexpectedWarnings(); f = std::make_unique<EditorFixture>(); }
    void cleanup()
    {
        QVERIFY(f->dialogs().scriptIsEmpty());
        f.reset();
    }

    void namedRoadSetsTheDialogAndLoadsUpperCase();
    void namedRoadNoThenCancelKeepsTheTextChanged();
    void namedRoadYesThenCancelledSaveOpensNothing();
    void namedRoadYesSavesThenOpens();
    void untitledRoadKeepsTheNameAsReturned();
    void untitledChangedCancelLoadsNothing();
    void untitledChangedSavesFirst();
    void untitledMissingFileChangesNothing();
    void htmlEndingShowsTheMenu_data();
    void htmlEndingShowsTheMenu();
};

void EditorOpenTest::namedRoadSetsTheDialogAndLoadsUpperCase()
{
    const QString first = f->dir.createFile(QStringLiteral("first.txt"), "first");
    const QString page = f->dir.createFile(QStringLiteral("web/Page.htm"), "<p>page</p>");
    QVERIFY(f->load(first));
    f->dialogs().answerText(page);
    f->window()->menus().action(QStringLiteral("mnuOpen"))->trigger();
    QVERIFY(f->loadEnded());

    QCOMPARE(f->window()->windowTitle(), page.toUpper());
    QCOMPARE(f->window()->text(), QStringLiteral("<p>page</p>"));
    QVERIFY(f->window()->isHtmlMenuVisible());
    const FileDialogRequest request = f->dialogs().fileRequests().last();
    QCOMPARE(request.title, QStringLiteral("TextPad"));
    QCOMPARE(request.filter, QStringLiteral("Html Files(*.HTM;*.Html) (*.HTM *.Htm *.htm *.HTML *.Html *.html);;"
                                            "Text Files (*.Txt) (*.TXT *.Txt *.txt);;All Files (*.*) (*)"));
    QCOMPARE(request.selectedFilter, QStringLiteral("Html Files(*.HTM;*.Html) (*.HTM *.Htm *.htm *.HTML *.Html *.html)"));
    QVERIFY(request.fileMustExist);

    // The settings stay for the window's later dialogs, the save dialogs included.
    f->window()->StartNewDocument();
    f->type(QStringLiteral("x"));
    f->dialogs().answerText(std::nullopt);
    f->window()->mnuFileSaveAs_Click();
    QCOMPARE(f->dialogs().fileRequests().last().filter, request.filter);
    QCOMPARE(f->dialogs().fileRequests().last().fileName, page);
}

void EditorOpenTest::namedRoadNoThenCancelKeepsTheTextChanged()
{
    const QString path = f->dir.createFile(QStringLiteral("a.txt"), "a");
    QVERIFY(f->load(path));
    f->type(QStringLiteral("b"));
    f->dialogs().answerMessage(MessageAnswer::No);
    f->dialogs().answerText(std::nullopt);
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->dialogs().messageTexts(), QStringList{QStringLiteral("Save changes to ") + path.toUpper() + QLatin1Char('?')});
    QCOMPARE(f->window()->text(), QStringLiteral("ab"));
    QVERIFY(f->changed());
    // No, then a file that has gone by the time it is loaded: the same.
    f->dialogs().answerMessage(MessageAnswer::No);
    f->dialogs().answerText(f->path(QStringLiteral("gone.txt")));
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->window()->text(), QStringLiteral("ab"));
    QVERIFY(f->changed());
    // So closing still asks.
    f->dialogs().answerMessage(MessageAnswer::No);
    f->window()->mnuFileExit_Click();
    QCOMPARE(f->dialogs().messages().size(), 3);
}

void EditorOpenTest::namedRoadYesThenCancelledSaveOpensNothing()
{
    const QString path = f->dir.createFile(QStringLiteral("locked.txt"), "old");
    QVERIFY(f->load(path));
    f->type(QStringLiteral("new"));
    f->services.files.writeErrors.insert(path, 75);
    f->dialogs().answerMessage(MessageAnswer::Yes);
    f->dialogs().answerMessage(MessageAnswer::Ok); // the failed save
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QVERIFY(f->dialogs().fileRequests().isEmpty());
    QCOMPARE(f->window()->text(), QStringLiteral("oldnew"));
    QVERIFY(f->changed());
}

void EditorOpenTest::namedRoadYesSavesThenOpens()
{
    const QString path = f->dir.createFile(QStringLiteral("a.txt"), "a\n");
    const QString other = f->dir.createFile(QStringLiteral("b.txt"), "b");
    QVERIFY(f->load(path));
    f->type(QStringLiteral("more"));
    f->dialogs().answerMessage(MessageAnswer::Yes);
    f->dialogs().answerText(other);
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->dir.read(QStringLiteral("a.txt")), QByteArray("a\nmore\n"));
    QCOMPARE(f->window()->text(), QStringLiteral("b"));
    QCOMPARE(f->window()->windowTitle(), other.toUpper());
    QVERIFY(!f->changed());
}

void EditorOpenTest::untitledRoadKeepsTheNameAsReturned()
{
    const QString notes = f->dir.createFile(QStringLiteral("docs/Notes.txt"), "notes");
    f->window()->StartNewDocument();
    f->dialogs().answerText(notes);
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->window()->windowTitle(), notes);
    QCOMPARE(f->window()->text(), QStringLiteral("notes"));
    QVERIFY(!f->changed());
    // Before any named Open the dialog has no file types and takes any name.
    const FileDialogRequest request = f->dialogs().fileRequests().last();
    QVERIFY(request.filter.isEmpty());
    QVERIFY(!request.fileMustExist);
    QVERIFY(request.fileName.isEmpty());
    QVERIFY(!f->window()->isHtmlMenuVisible());
}

void EditorOpenTest::untitledChangedCancelLoadsNothing()
{
    f->dir.createFile(QStringLiteral("other.txt"), "other");
    f->untitledWith(QStringLiteral("unsaved"));
    f->dialogs().answerText(std::nullopt); // the save dialog
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->dialogs().fileRequests().size(), 1);
    QCOMPARE(f->window()->text(), QStringLiteral("unsaved"));
    QCOMPARE(f->window()->windowTitle(), QStringLiteral("New"));
    QVERIFY(f->changed());
}

void EditorOpenTest::untitledChangedSavesFirst()
{
    const QString other = f->dir.createFile(QStringLiteral("other.txt"), "other");
    f->untitledWith(QStringLiteral("unsaved"));
    f->dialogs().answerText(f->path(QStringLiteral("kept.txt")));
    f->dialogs().answerText(other);
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->dir.read(QStringLiteral("kept.txt")), QByteArray("unsaved\n"));
    QCOMPARE(f->window()->text(), QStringLiteral("other"));
    QCOMPARE(f->window()->windowTitle(), other);

    // A failing save stops before the open dialog.
    f->window()->StartNewDocument();
    f->type(QStringLiteral("more"));
    f->dialogs().answerText(f->path(QStringLiteral("missing/kept.txt")));
    f->dialogs().answerMessage(MessageAnswer::Ok);
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->dialogs().fileRequests().size(), 3);
    QCOMPARE(f->window()->text(), QStringLiteral("more"));
    QVERIFY(f->changed());
}

void EditorOpenTest::untitledMissingFileChangesNothing()
{
    f->window()->StartNewDocument();
    f->dialogs().answerText(f->path(QStringLiteral("typed-but-missing.txt")));
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->window()->windowTitle(), QStringLiteral("New"));
    QVERIFY(f->window()->document().isUntitled());
}

void EditorOpenTest::htmlEndingShowsTheMenu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("shows");
    for (const char *html : {"a.htm", "a.Htm", "a.HTM", "a.html", "a.Html", "a.HTML", "xhtm", "notes.xhtml"})
        QTest::newRow(html) << QString::fromLatin1(html) << true;
    for (const char *other : {"a.hTm", "a.HtM", "a.hTML", "a.txt", "a.htmx"})
        QTest::newRow(other) << QString::fromLatin1(other) << false;
}

void EditorOpenTest::htmlEndingShowsTheMenu()
{
    QFETCH(QString, name);
    QFETCH(bool, shows);
    const QString path = f->dir.createFile(name, "x");
    f->window()->StartNewDocument();
    f->dialogs().answerText(path);
    f->window()->FileOpenProc();
    QVERIFY(f->loadEnded());
    QCOMPARE(f->window()->isHtmlMenuVisible(), shows);
    // Loading another file never hides it again.
    QVERIFY(loadAndWait(*f->window(), f->dir.createFile(QStringLiteral("plain.txt"), "p")));
    QCOMPARE(f->window()->isHtmlMenuVisible(), shows);
}

QTEST_MAIN(EditorOpenTest)
#include "tst_editoropen.moc"
