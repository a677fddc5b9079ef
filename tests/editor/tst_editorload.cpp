// A file loading into the editor: read on a worker, the window answering meanwhile and showing
// its earlier text until the file is whole; what a close or another load does while one runs.

#include "EditorFixture.h"
#include "support/TestCase.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMenuBar>
#include <QTimer>

#include <functional>

namespace {

// About 6 MB of log lines: the read and the search for its lines take many turns of the
// window's thread.
QByteArray bigLog()
{
    QByteArray bytes;
    for (int line = 0; bytes.size() < 6'000'000; ++line)
        bytes += "2026-12-10 09:30:00.123 INFO [worker-3] request " + QByteArray::number(line)
                 + " handled in 12 ms, status=200, user=someone\n";
    return bytes;
}

// Runs check at every turn of the event loop until it returns true or the timer goes.
class EveryTurn
{
public:
    explicit EveryTurn(std::function<bool()> check) : m_check(std::move(check))
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            ++m_turns;
            if (m_check())
                m_timer.stop();
        });
        m_timer.start();
    }
    int turns() const { return m_turns; }

private:
    QTimer m_timer;
    std::function<bool()> m_check;
    int m_turns = 0;
};

} // namespace

class EditorLoadTest : public TestCase
{
    Q_OBJECT

    std::unique_ptr<EditorFixture> f;

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = std::make_unique<EditorFixture>();
    }
    void cleanup()
    {
        QVERIFY(f->dialogs().scriptIsEmpty());
        f.reset();
    }

    void theWindowAnswersWhileABigFileLoads();
    void theCallReturnsBeforeTheFileIsIn();
    void closingTheWindowDropsTheLoad();
    void aWindowDestroyedWhileLoadingTellsNobody();
    void aSecondLoadTakesOverFromTheFirst();
    void aLoadKeepsTheBoxSettingsAndIsNoEditToUndo();
};

void EditorLoadTest::theWindowAnswersWhileABigFileLoads()
{
    const QByteArray log = bigLog();
    const QString path = f->dir.createFile(QStringLiteral("big.log"), log);
    Textpad *textpad = f->window();
    f->type(QStringLiteral("earlier"));
    // Nothing to save first: the load replaces the text.
    f->editor.state().textChanged = false;
    QString captionMeanwhile;
    QString textMeanwhile;
    bool readOnlyMeanwhile = false;
    // The first turn comes while the worker still reads.
    const EveryTurn watch([&] {
        captionMeanwhile = textpad->windowTitle();
        textMeanwhile = textpad->text();
        readOnlyMeanwhile = textpad->txtNote()->isReadOnly();
        return true;
    });

    QVERIFY(f->load(path));
    QVERIFY2(watch.turns() > 0, "the window did not answer during the load");
    QCOMPARE(textMeanwhile, QStringLiteral("earlier"));
    QVERIFY2(captionMeanwhile.startsWith(path.toUpper() + QStringLiteral(" (")) && captionMeanwhile.endsWith(QStringLiteral("%)")),
             qPrintable(captionMeanwhile));
    QVERIFY(readOnlyMeanwhile);

    QCOMPARE(textpad->windowTitle(), path.toUpper());
    QVERIFY(!textpad->txtNote()->isReadOnly());
    QVERIFY(textpad->menuBar()->isEnabled());
    QCOMPARE(textpad->text().size(), log.size());
    QCOMPARE(textpad->text().toUtf8(), log);
    QVERIFY(!f->changed());
    textpad->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("big.log")), log);
}

void EditorLoadTest::theCallReturnsBeforeTheFileIsIn()
{
    const QString path = f->dir.createFile(QStringLiteral("a.txt"), "the file\n");
    Textpad *textpad = f->window();
    f->type(QStringLiteral("earlier"));
    f->editor.state().textChanged = false;
    QList<bool> ended;
    textpad->LoadTextFile(path, [&](bool loaded) {
        // The file is in, the window as a load leaves it, when the caller hears of it.
        QCOMPARE(textpad->text(), QStringLiteral("the file\n"));
        QCOMPARE(textpad->windowTitle(), path.toUpper());
        QVERIFY(!textpad->isLoading());
        QVERIFY(!textpad->txtNote()->isReadOnly());
        ended << loaded;
    });
    // Nothing waited: the window still shows its earlier text and takes no edit meanwhile.
    QVERIFY(ended.isEmpty());
    QVERIFY(textpad->isLoading());
    QCOMPARE(textpad->text(), QStringLiteral("earlier"));
    QVERIFY(textpad->txtNote()->isReadOnly());
    QVERIFY(!textpad->menuBar()->isEnabled());
    QCOMPARE(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor, Qt::BusyCursor);
    QTRY_COMPARE(ended, QList<bool>{true});
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!f->changed());
}

void EditorLoadTest::closingTheWindowDropsTheLoad()
{
    const QString path = f->dir.createFile(QStringLiteral("big.log"), bigLog());
    QPointer<Textpad> textpad = f->window();
    QList<bool> ended;
    textpad->LoadTextFile(path, [&](bool loaded) { ended << loaded; });
    const EveryTurn closer([&] {
        textpad->close();
        return true;
    });
    QTRY_VERIFY(!ended.isEmpty());
    QCOMPARE(ended, QList<bool>{false});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!textpad);
    QVERIFY(!f->editor.window().isLoaded());
    QVERIFY(f->dialogs().messages().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void EditorLoadTest::aWindowDestroyedWhileLoadingTellsNobody()
{
    const QString path = f->dir.createFile(QStringLiteral("big.log"), bigLog());
    bool told = false;
    f->window()->LoadTextFile(path, [&](bool) { told = true; });
    f->editor.window().unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f->editor.window().isLoaded());
    QVERIFY(!QApplication::overrideCursor());
    // The worker runs on to its end by itself, owning what it reads with.
    f.reset();
    QTest::qWait(200);
    QVERIFY(!told);
    f = std::make_unique<EditorFixture>();
}

void EditorLoadTest::aSecondLoadTakesOverFromTheFirst()
{
    const QString big = f->dir.createFile(QStringLiteral("big.log"), bigLog());
    const QString small = f->dir.createFile(QStringLiteral("small.txt"), "small\r\nfile\r\n");
    Textpad *textpad = f->window();
    QStringList ended;
    const auto note = [&ended](const QString &name) {
        return [&ended, name](bool loaded) { ended << name + (loaded ? QStringLiteral(" in") : QStringLiteral(" stopped")); };
    };
    f->editor.LoadTextFile(big, note(QStringLiteral("big")));
    f->editor.LoadTextFile(small, note(QStringLiteral("small")));
    // The first hears at once that it gave way.
    QCOMPARE(ended, QStringList{QStringLiteral("big stopped")});
    QTRY_COMPARE(ended.size(), 2);
    QCOMPARE(ended.last(), QStringLiteral("small in"));
    QCOMPARE(textpad->windowTitle(), small.toUpper());
    QCOMPARE(textpad->document().path(), small);
    QCOMPARE(textpad->text(), QStringLiteral("small\nfile\n"));
    QVERIFY(!textpad->txtNote()->isReadOnly());
    textpad->mnuFileSave_Click();
    QCOMPARE(f->dir.read(QStringLiteral("small.txt")), QByteArray("small\r\nfile\r\n"));
}

void EditorLoadTest::aLoadKeepsTheBoxSettingsAndIsNoEditToUndo()
{
    Textpad *textpad = f->window();
    const QStringList families = QFontDatabase::families();
    const int last = int(families.size()) - 1;
    textpad->mnuFontName_Click(last);
    const QString path = f->dir.createFile(QStringLiteral("a.txt"), "first line\nsecond line\n");
    QVERIFY(f->load(path));

    const TextBox *box = textpad->txtNote();
    QCOMPARE(box->font().family(), families.at(last));
    QCOMPARE(TextBox::wrapModeFor(box->lines().line(0)), QTextOption::WrapAtWordBoundaryOrAnywhere);
    QVERIFY(!box->canUndo());
    f->type(QStringLiteral("typed"));
    QVERIFY(box->canUndo());
    QVERIFY(f->changed());
}

QTEST_MAIN(EditorLoadTest)
#include "tst_editorload.moc"
