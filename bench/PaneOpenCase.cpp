#include "PaneOpenCase.h"

#include "Baseline.h"
#include "BenchTools.h"
#include "Fixtures.h"
#include "ListCheck.h"
#include "PaintWatch.h"
#include "panes/FileList.h"

#include <QFile>

#include <memory>

namespace {

constexpr int openTimeoutMs = 60 * 1000;

// A file list shown at an empty folder and painted once, ready to be pointed at the big one.
class ShownFileList
{
public:
    ShownFileList(const Fixtures &fixtures, const QString &pattern, int expectedRows)
        : m_list(std::make_unique<FileList>())
        , m_watch(m_list->viewport(), [this, expectedRows] { return m_list->listCount() == expectedRows; })
    {
        // About a pane's file list on a 1280-pixel wide screen.
        m_list->resize(250, 400);
        m_list->setPattern(pattern);
        m_list->setPath(fixtures.emptyFolder());
        m_list->show();
        PaintWatch emptyShown(m_list->viewport(), [] { return true; });
        m_ready = emptyShown.wait(openTimeoutMs);
        m_watch.reset();
    }

    // Opens folder and waits for the complete paint; the time in ms, or a negative number
    // when the list never showed every row. callMs gets the time setPath() itself took.
    double open(const QString &folder, double *callMs = nullptr)
    {
        if (!m_ready)
            return -1.0;
        QElapsedTimer timer;
        timer.start();
        m_list->setPath(folder);
        if (callMs)
            *callMs = BenchTools::elapsedMs(timer);
        if (!m_watch.wait(openTimeoutMs))
            return -1.0;
        return BenchTools::elapsedMs(timer);
    }

    const FileList &list() const { return *m_list; }

private:
    std::unique_ptr<FileList> m_list;
    PaintWatch m_watch;
    bool m_ready = false;
};

BenchResult measure(const Fixtures &fixtures, int runs, const QString &pattern, bool reportMemory)
{
    BenchResult result;
    const QString folder = fixtures.manyFiles();
    const QByteArray encodedFolder = QFile::encodeName(folder);
    const QByteArray encodedPattern = pattern.toUtf8();
    const int expectedRows = Fixtures::manyFilesCount / (pattern.isEmpty() ? 1 : Fixtures::matchEvery);

    // The first open comes before the process holds anything else of the folder, so the peak
    // memory after it is the list's own (with Qt's).
    const std::optional<double> before = BenchTools::peakResidentMiB();
    {
        ShownFileList first(fixtures, pattern, expectedRows);
        if (first.open(folder) < 0) {
            result.error = QStringLiteral("the list did not show %1 names within %2 s (it holds %3)")
                               .arg(expectedRows).arg(openTimeoutMs / 1000).arg(first.list().listCount());
            return result;
        }
        if (reportMemory) {
            result.peakMiB = BenchTools::peakResidentMiB();
            if (before)
                result.notes.append(QStringLiteral("peak memory before the first open: %1 MiB")
                                        .arg(QString::number(*before, 'f', 1)));
        }
        const std::vector<std::string> expected = Baseline::sortedFileNames(encodedFolder, encodedPattern);
        bool orderOnly = false;
        if (const QString difference = ListCheck::compareRows(first.list(), expected, &orderOnly); !difference.isEmpty()) {
            if (!orderOnly) {
                result.error = difference;
                return result;
            }
            result.notes.append(QStringLiteral("same names, other order: ") + difference);
        }
    }

    QList<double> callMs;
    for (int run = 0; run < runs; ++run) {
        ShownFileList shown(fixtures, pattern, expectedRows);
        double call = 0.0;
        const double ms = shown.open(folder, &call);
        if (ms < 0) {
            result.error = QStringLiteral("a later open did not complete");
            return result;
        }
        result.oursMs.append(ms);
        callMs.append(call);

        QElapsedTimer timer;
        timer.start();
        const std::vector<std::string> names = Baseline::sortedFileNames(encodedFolder, encodedPattern);
        result.baselineMs.append(BenchTools::elapsedMs(timer));
        if (int(names.size()) != expectedRows) {
            result.error = QStringLiteral("readdir found %1 names, not %2").arg(names.size()).arg(expectedRows);
            return result;
        }
    }
    result.notes.append(QStringLiteral("setPath call alone (before the paint): %1 ms")
                            .arg(QString::number(BenchTools::median(callMs), 'f', 1)));
    if (reportMemory) {
        if (const std::optional<double> end = BenchTools::peakResidentMiB())
            result.notes.append(QStringLiteral("peak memory after all runs (baseline included): %1 MiB")
                                    .arg(QString::number(*end, 'f', 1)));
    }
    return result;
}

} // namespace

namespace PaneOpenCase {

BenchResult runAll(const Fixtures &fixtures, int runs)
{
    return measure(fixtures, runs, QString(), true);
}

BenchResult runPattern(const Fixtures &fixtures, int runs)
{
    return measure(fixtures, runs, QStringLiteral("*.txt"), false);
}

} // namespace PaneOpenCase
