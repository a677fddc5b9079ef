#include "EditorEditCase.h"

#include "BenchTools.h"
#include "Fixtures.h"
#include "ShownEditor.h"
#include "textbox/ui/TextBox.h"

#include <QFile>

#include <array>

namespace {

// The edits timed at one place, each a key press and the paint after it.
struct PlaceTimes
{
    QList<double> enter;
    QList<double> join;
    QList<double> letter;

    QList<double> all() const { return enter + join + letter; }
};

constexpr int editColumn = 4;

// runs rounds of Enter, Backspace (joining the line again) and a letter typed (with a
// Backspace after it, untimed), the caret in line (counted from 0).
PlaceTimes editAt(ShownEditor &shown, qsizetype line, int runs, QString &error)
{
    PlaceTimes times;
    TextBox *box = shown.box();
    const qint64 count = box->characterCount();
    box->setCursorPosition(box->lines().lineStart(line) + editColumn);
    box->viewport()->repaint();
    for (int n = 0; n < runs; ++n) {
        times.enter.append(shown.keyMs(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")));
        times.join.append(shown.keyMs(Qt::Key_Backspace));
        times.letter.append(shown.typeMs(QStringLiteral("x")));
        shown.keyMs(Qt::Key_Backspace);
    }
    if (box->characterCount() != count || box->lines().lineAt(box->position()) != line)
        error = QStringLiteral("the edits at line %1 did not leave the text as it was").arg(line + 1);
    return times;
}

QString each(const QList<double> &values)
{
    QStringList texts;
    for (const double value : values)
        texts.append(QString::number(value, 'f', 2));
    return texts.join(QStringLiteral(", ")) + QStringLiteral(" ms");
}

} // namespace

namespace EditorEditCase {

BenchResult run(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    const QString path = fixtures.manyLines();
    ShownEditor shown;
    QElapsedTimer load;
    load.start();
    result.error = shown.load(path);
    if (!result.error.isEmpty())
        return result;
    const double loadMs = BenchTools::elapsedMs(load);
    if (shown.box()->lines().lineCount() != Fixtures::manyLinesCount) {
        result.error = QStringLiteral("the box holds %1 lines").arg(shown.box()->lines().lineCount());
        return result;
    }
    // Line 2, then line 2,000,000 (counted from 1).
    QString error;
    const PlaceTimes near = editAt(shown, 1, runs, error);
    const PlaceTimes far = editAt(shown, Fixtures::manyLinesCount / 2 - 1, runs, error);
    if (!error.isEmpty()) {
        result.error = error;
        return result;
    }
    result.oursMs = far.all();
    result.baselineMs = near.all();
    result.peakMiB = BenchTools::peakResidentMiB();
    const std::array<std::pair<QString, const QList<double> PlaceTimes::*>, 3> kinds{{
        {QStringLiteral("Enter"), &PlaceTimes::enter},
        {QStringLiteral("Backspace joining two lines"), &PlaceTimes::join},
        {QStringLiteral("a typed letter"), &PlaceTimes::letter},
    }};
    for (const auto &[name, times] : kinds) {
        result.bounds.append({QStringLiteral("%1 at line 2,000,000").arg(name), BenchTools::median(far.*times), 2.0,
                              QStringLiteral("ms")});
        result.bounds.append({QStringLiteral("%1 at line 2").arg(name), BenchTools::median(near.*times), 2.0,
                              QStringLiteral("ms")});
    }
    for (const auto &[name, times] : kinds)
        result.notes.append(QStringLiteral("%1 at line 2,000,000, per run: %2; at line 2: %3")
                                .arg(name, each(far.*times), each(near.*times)));
    result.notes.append(QStringLiteral("each time is the key press and the paint after it; the first edit at a place "
                                       "follows edits at the other"));
    result.notes.append(QStringLiteral("LoadTextFile and the first paint: %1 ms").arg(loadMs, 0, 'f', 0));
    return result;
}

} // namespace EditorEditCase
