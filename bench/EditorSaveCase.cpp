#include "EditorSaveCase.h"

#include "BenchTools.h"
#include "Fixtures.h"
#include "editor/TextEditor.h"
#include "editor/Textpad.h"
#include "support/TestServices.h"
#include "support/LoadWait.h"
#include "textbox/ui/TextBox.h"

#include <QFile>


namespace {

// The baseline: the bytes written to a new file in one write and synced. Negative on failure.
double writeAndSyncOnce(const QString &path, const QByteArray &bytes)
{
    QElapsedTimer timer;
    timer.start();
    const bool written = BenchTools::writeSynced(path, bytes, 0644);
    const double ms = BenchTools::elapsedMs(timer);
    return written ? ms : -1.0;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

namespace EditorSaveCase {

BenchResult run(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    // A copy of the log, which the saves write over.
    const QString path = fixtures.bigLog() + QStringLiteral(".save");
    const QString baselinePath = fixtures.bigLog() + QStringLiteral(".baseline");
    QFile::remove(path);
    if (!QFile::copy(fixtures.bigLog(), path)) {
        result.error = QStringLiteral("cannot copy the log to %1").arg(path);
        return result;
    }

    TestServices services;
    TextEditor editor(services.services());
    if (!loadAndWait(editor, path)) {
        result.error = QStringLiteral("LoadTextFile failed");
        return result;
    }
    Textpad *textpad = editor.window().ifLoaded();
    TextBox *box = textpad->txtNote();
    const std::optional<double> afterLoad = BenchTools::residentMiB();
    double peakRatio = 0.0;
    double peakMiB = 0.0;
    // A letter typed at the start before each save, so that one line is the editor's own and
    // the rest the file's bytes, as after a small edit.
    for (int n = 0; n <= runs; ++n) {
        box->setCursorPosition(0);
        box->insertText(QStringLiteral("x"));
        const bool measurePeak = afterLoad && BenchTools::resetPeakResident();
        QElapsedTimer timer;
        timer.start();
        if (!textpad->SaveTextFile(path)) {
            result.error = QStringLiteral("the save failed");
            return result;
        }
        const double ms = BenchTools::elapsedMs(timer);
        if (measurePeak) {
            if (const std::optional<double> peak = BenchTools::peakResidentMiB()) {
                peakMiB = std::max(peakMiB, *peak);
                peakRatio = std::max(peakRatio, *peak / *afterLoad);
            }
        }
        const QByteArray saved = readAll(path);
        if (saved.size() != QFile(fixtures.bigLog()).size() + n + 1 || !saved.startsWith(QByteArray(n + 1, 'x'))) {
            result.error = QStringLiteral("the saved file does not hold the text");
            return result;
        }
        const double baseline = writeAndSyncOnce(baselinePath, saved);
        if (baseline < 0) {
            result.error = QStringLiteral("write() and fsync() of the bytes failed");
            return result;
        }
        // The first of each is the untimed warm-up.
        if (n == 0)
            continue;
        result.oursMs.append(ms);
        result.baselineMs.append(baseline);
    }
    QFile::remove(path);
    QFile::remove(baselinePath);
    if (!afterLoad || peakRatio == 0.0) {
        result.notes.append(QStringLiteral("the peak memory during a save could not be measured here"));
    } else {
        result.bounds.append({QStringLiteral("peak memory during the save / after the load"), peakRatio, 1.2,
                              QStringLiteral("x")});
        result.notes.append(QStringLiteral("resident memory after the load: %1 MiB; highest peak during a save: %2 MiB")
                                .arg(QString::number(*afterLoad, 'f', 1), QString::number(peakMiB, 'f', 1)));
    }
    return result;
}

} // namespace EditorSaveCase
