#include "EditorCase.h"

#include "BenchTools.h"
#include "Fixtures.h"
#include "GapWatch.h"
#include "PaintWatch.h"
#include "ShownEditor.h"
#include "textbox/ui/TextBox.h"
#include "editor/Textpad.h"
#include "support/LoadWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int paintTimeoutMs = ShownEditor::paintTimeoutMs;

// The time from the start of timer to the text box's first paint with text in it.
class FirstTextPaint : public QObject
{
public:
    FirstTextPaint(TextBox *box, const QElapsedTimer &timer) : m_box(box), m_timer(timer)
    {
        m_box->viewport()->installEventFilter(this);
    }
    ~FirstTextPaint() override { m_box->viewport()->removeEventFilter(this); }
    double ms() const { return m_ms; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_box->viewport() && event->type() == QEvent::Paint && m_ms < 0
            && m_box->characterCount() > 0)
            m_ms = BenchTools::elapsedMs(m_timer);
        return false;
    }

private:
    TextBox *m_box;
    const QElapsedTimer &m_timer;
    double m_ms = -1.0;
};

// The baseline: one read() of the whole file into a buffer of its size. Negative on failure.
double readOnce(const QString &path, qint64 expectedBytes)
{
    QElapsedTimer timer;
    timer.start();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1.0;
    std::vector<char> buffer(size_t(expectedBytes) + 1);
    qint64 total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data() + total, buffer.size() - size_t(total));
        if (got <= 0)
            break;
        total += got;
    }
    ::close(fd);
    const double ms = BenchTools::elapsedMs(timer);
    return total == expectedBytes ? ms : -1.0;
}

struct OpenRun
{
    double ms = -1.0;
    double firstScreenMs = -1.0;
    double cpuMs = 0.0;
    double longestGapMs = 0.0;
    QString error;
};

// LoadTextFile of path into a fresh, shown editor, timed until the box has painted the whole
// text. typed, when given, is typed at the caret once the file is in, and the time runs until
// the box has painted that too.
OpenRun openOnce(const QString &path, qint64 expectedChars, const QString &typed = QString(), bool watchGaps = false,
                 double *loadMs = nullptr)
{
    OpenRun run;
    ShownEditor shown;
    if (!shown.ready()) {
        run.error = QStringLiteral("the editor did not paint");
        return run;
    }
    TextBox *box = shown.box();
    bool done = false;
    PaintWatch whole(box->viewport(), [&done] { return done; });
    QElapsedTimer timer;
    const FirstTextPaint first(box, timer);
    std::unique_ptr<GapWatch> gaps = watchGaps ? std::make_unique<GapWatch>() : nullptr;
    const qint64 cpuBefore = BenchTools::processCpuNs();
    timer.start();
    // Until the load has told that it ended.
    if (!loadAndWait(shown.editor(), path, paintTimeoutMs)) {
        run.error = QStringLiteral("LoadTextFile failed");
        return run;
    }
    if (loadMs)
        *loadMs = BenchTools::elapsedMs(timer);
    for (const QChar ch : typed) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(box, &press);
    }
    done = true;
    box->viewport()->update();
    if (!whole.wait(paintTimeoutMs)) {
        run.error = QStringLiteral("the box did not paint the loaded text");
        return run;
    }
    run.ms = BenchTools::elapsedMs(timer);
    run.cpuMs = double(BenchTools::processCpuNs() - cpuBefore) / 1e6;
    run.firstScreenMs = first.ms();
    if (gaps) {
        gaps->stop();
        run.longestGapMs = gaps->longestMs();
    }
    const qint64 chars = box->characterCount();
    if (chars != expectedChars + typed.size())
        run.error = QStringLiteral("the box holds %1 characters, not %2").arg(chars).arg(expectedChars + typed.size());
    return run;
}

// The loaded file saved under another name, timed; negative on failure.
double saveOnce(const QString &path, const QString &copy)
{
    ShownEditor shown;
    if (!shown.ready() || !loadAndWait(shown.editor(), path, paintTimeoutMs))
        return -1.0;
    Textpad *textpad = shown.editor().window().ifLoaded();
    QElapsedTimer timer;
    timer.start();
    const bool saved = textpad && textpad->SaveTextFile(copy);
    const double ms = BenchTools::elapsedMs(timer);
    const bool same = saved && QFile(copy).size() == QFile(path).size();
    QFile::remove(copy);
    return same ? ms : -1.0;
}

QString each(const QList<double> &values)
{
    QStringList texts;
    for (const double value : values)
        texts.append(QString::number(value, 'f', 0));
    return texts.join(QStringLiteral(", ")) + QStringLiteral(" ms");
}

// One keystroke and what the notes call it.
struct Keystroke
{
    Keystroke(const QString &name, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {})
        : name(name), key(key), modifiers(modifiers), text(text)
    {
    }

    QString name;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
};

// The keys a user presses in a long line, at its start, its end and its middle, each followed
// by a paint; the file's text is the same again after each group of them.
struct LongLineKeys
{
    // The slowest key by its median over the runs, and the slowest single press.
    double slowestMedianMs = -1.0;
    QString slowestKey;
    double worstMs = -1.0;
    QString worstKey;
    // The most characters the box held laid out after a key.
    qsizetype laidOut = 0;
    QStringList timings;
    std::optional<double> peakMiB;
    QString error;
};

LongLineKeys keysInLongLine(const QString &path, int runs)
{
    LongLineKeys keys;
    ShownEditor shown;
    QElapsedTimer load;
    load.start();
    keys.error = shown.load(path);
    if (!keys.error.isEmpty())
        return keys;
    TextBox *box = shown.box();
    keys.timings.append(QStringLiteral("load and first paint %1 ms").arg(BenchTools::elapsedMs(load), 0, 'f', 0));
    const qint64 length = box->lines().lineLength(0);
    const QString before = QString::number(box->characterCount());
    const auto press = [&](const Keystroke &stroke) {
        QKeyEvent event(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
        const double ms = shown.keyMs(event);
        keys.laidOut = std::max(keys.laidOut, box->layoutCharacters());
        return ms;
    };
    const Keystroke letter{QStringLiteral("a letter"), Qt::Key_X, Qt::NoModifier, QStringLiteral("x")};
    const Keystroke backspace{QStringLiteral("Backspace"), Qt::Key_Backspace};
    const Keystroke enter{QStringLiteral("Enter"), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")};
    const Keystroke right{QStringLiteral("Right"), Qt::Key_Right};
    const Keystroke left{QStringLiteral("Left"), Qt::Key_Left};
    const Keystroke down{QStringLiteral("Down"), Qt::Key_Down};
    const Keystroke up{QStringLiteral("Up"), Qt::Key_Up};
    const Keystroke end{QStringLiteral("End"), Qt::Key_End};
    const Keystroke textEnd{QStringLiteral("Ctrl+End"), Qt::Key_End, Qt::ControlModifier};
    const Keystroke textStart{QStringLiteral("Ctrl+Home"), Qt::Key_Home, Qt::ControlModifier};
    const Keystroke pageDown{QStringLiteral("Page Down"), Qt::Key_PageDown};
    // Where each group starts: the caret put there by a key (or, for the middle, by the
    // program, as a click or a find would), and the keys pressed there.
    const std::vector<std::pair<QString, std::vector<Keystroke>>> groups{
        {QStringLiteral("at the start"), {letter, backspace, right, down, end, pageDown, up, enter, backspace}},
        {QStringLiteral("at the end"), {textEnd, left, letter, backspace, left, up, enter, backspace}},
        {QStringLiteral("in the middle"), {letter, backspace, enter, backspace, down, up, textStart}},
    };
    for (const auto &[where, strokes] : groups) {
        if (where == QStringLiteral("in the middle")) {
            box->setCursorPosition(length / 2);
            box->viewport()->repaint();
        }
        std::vector<QList<double>> timesOf(strokes.size());
        for (int n = 0; n < runs; ++n) {
            QStringList times;
            for (size_t i = 0; i < strokes.size(); ++i) {
                const double ms = press(strokes[i]);
                timesOf[i].append(ms);
                times.append(QStringLiteral("%1 %2").arg(strokes[i].name).arg(ms, 0, 'f', 1));
                if (ms > keys.worstMs) {
                    keys.worstMs = ms;
                    keys.worstKey = QStringLiteral("%1 %2").arg(strokes[i].name, where);
                }
            }
            keys.timings.append(QStringLiteral("%1, round %2: %3 ms").arg(where).arg(n + 1).arg(times.join(QStringLiteral(", "))));
        }
        for (size_t i = 0; i < strokes.size(); ++i) {
            const double median = BenchTools::median(timesOf[i]);
            if (median > keys.slowestMedianMs) {
                keys.slowestMedianMs = median;
                keys.slowestKey = QStringLiteral("%1 %2").arg(strokes[i].name, where);
            }
        }
        if (QString::number(box->characterCount()) != before) {
            keys.error = QStringLiteral("the keys %1 changed the text").arg(where);
            return keys;
        }
    }
    keys.peakMiB = BenchTools::peakResidentMiB();
    return keys;
}

} // namespace

namespace EditorCase {

BenchResult runOpen(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    const QString path = fixtures.bigLog();
    const qint64 bytes = QFile(path).size();
    const double fileMiB = double(bytes) / double(1 << 20);

    // The first load comes before the process holds anything else of the file, so the peak
    // memory after it is the editor's own (with Qt's).
    const std::optional<double> before = BenchTools::peakResidentMiB();
    const OpenRun first = openOnce(path, bytes);
    if (!first.error.isEmpty()) {
        result.error = first.error;
        return result;
    }
    result.peakMiB = BenchTools::peakResidentMiB();
    if (before)
        result.notes.append(QStringLiteral("peak memory before the first load: %1 MiB, file %2 MiB")
                                .arg(QString::number(*before, 'f', 1), QString::number(fileMiB, 'f', 1)));
    // A save of the whole file right after, while the peak is still the load's.
    const double saveMs = saveOnce(path, path + QStringLiteral(".saved"));
    const std::optional<double> afterSave = BenchTools::peakResidentMiB();
    if (saveMs < 0) {
        result.error = QStringLiteral("the loaded file could not be saved whole");
        return result;
    }
    if (afterSave)
        result.notes.append(QStringLiteral("the file loaded and saved under another name: the save %1 ms, peak memory then %2 MiB")
                                .arg(QString::number(saveMs, 'f', 1), QString::number(*afterSave, 'f', 1)));

    QList<double> firstScreens;
    QList<double> cpus;
    for (int n = 0; n < runs; ++n) {
        const OpenRun run = openOnce(path, bytes);
        if (!run.error.isEmpty()) {
            result.error = run.error;
            return result;
        }
        result.oursMs.append(run.ms);
        firstScreens.append(run.firstScreenMs);
        cpus.append(run.cpuMs);
        const double baseline = readOnce(path, bytes);
        if (baseline < 0) {
            result.error = QStringLiteral("read() did not give the whole file");
            return result;
        }
        result.baselineMs.append(baseline);
    }
    // Apart, since the timer that measures the gaps runs at every turn and costs time of its own.
    const OpenRun watched = openOnce(path, bytes, QString(), true);
    result.longestGapMs = watched.longestGapMs;

    result.bounds.append({QStringLiteral("first screen"), BenchTools::median(firstScreens), 500.0, QStringLiteral("ms")});
    result.bounds.append({QStringLiteral("processor time"), BenchTools::median(cpus), 1500.0, QStringLiteral("ms")});
    result.notes.append(QStringLiteral("first screen, per run: %1").arg(each(firstScreens)));
    result.notes.append(QStringLiteral("processor time of all threads, per run: %1").arg(each(cpus)));
    result.notes.append(QStringLiteral("longest time the window went without answering, in a run of its own: %1 ms")
                            .arg(QString::number(watched.longestGapMs, 'f', 1)));
    return result;
}

BenchResult runLongLine(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    const QString path = fixtures.hexLine();
    const qint64 bytes = QFile(path).size();
    // Untimed: the file into the cache, the fonts and the layout code into memory.
    if (const OpenRun warm = openOnce(path, bytes, QStringLiteral("x")); !warm.error.isEmpty()) {
        result.error = warm.error;
        return result;
    }
    QList<double> loads;
    for (int n = 0; n < runs; ++n) {
        double loadMs = 0.0;
        const OpenRun run = openOnce(path, bytes, QStringLiteral("x"), false, &loadMs);
        if (!run.error.isEmpty()) {
            result.error = run.error;
            return result;
        }
        result.oursMs.append(run.ms);
        loads.append(loadMs);
        const double baseline = readOnce(path, bytes);
        if (baseline < 0) {
            result.error = QStringLiteral("read() did not give the whole file");
            return result;
        }
        result.baselineMs.append(baseline);
    }
    result.bounds.append({QStringLiteral("load and keystroke"), result.oursMedian(), 1000.0, QStringLiteral("ms")});
    result.notes.append(QStringLiteral("LoadTextFile alone (before the keystroke and its paint), per run: %1").arg(each(loads)));

    // Longer lines, each in a fresh window: every key pressed in them paints within 100 ms,
    // and what the box holds laid out stays bounded (a quarter of a million characters kept
    // beyond those shown).
    constexpr qsizetype laidOutLimit = 300'000;
    const std::vector<std::pair<QString, QString>> longLines{
        {QStringLiteral("10 MB line"), fixtures.hexLine(Fixtures::tenMegabyteLine)},
        {QStringLiteral("1 M combining marks"), fixtures.markLine()},
        {QStringLiteral("64 MiB line"), fixtures.hexLine(Fixtures::sixtyFourMebibyteLine)},
    };
    for (const auto &[name, longPath] : longLines) {
        const LongLineKeys keys = keysInLongLine(longPath, std::min(runs, 3));
        if (!keys.error.isEmpty()) {
            result.error = QStringLiteral("%1: %2").arg(name, keys.error);
            return result;
        }
        result.bounds.append({QStringLiteral("every keystroke, %1").arg(name), keys.slowestMedianMs, 100.0, QStringLiteral("ms")});
        result.bounds.append({QStringLiteral("characters laid out, %1").arg(name), double(keys.laidOut),
                              double(laidOutLimit), QStringLiteral("characters")});
        result.notes.append(QStringLiteral("%1: slowest key %2 (median), slowest single press %3, %4 ms; %5")
                                .arg(name, keys.slowestKey, keys.worstKey, QString::number(keys.worstMs, 'f', 1),
                                     keys.timings.join(QStringLiteral("; "))));
        if (keys.peakMiB)
            result.notes.append(QStringLiteral("%1: peak memory of the process after it %2 MiB").arg(name).arg(*keys.peakMiB, 0, 'f', 0));
    }
    return result;
}

} // namespace EditorCase
