#include "StartCase.h"

#include "Baseline.h"
#include "BenchTools.h"
#include "Fixtures.h"
#include "ListCheck.h"
#include "PaintWatch.h"
#include "app/Form1.h"
#include "app/PopupPresenter.h"
#include "panes/FileList.h"
#include "panes/PaneBoard.h"
#include "settings/RegistryStore.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>

#include <memory>
#include <vector>

namespace {

constexpr int startTimeoutMs = 60 * 1000;
// The splash's wait would only add idle time to both the start and its figure.
const SplashTimings quickSplash{1, 15, 2};

class NoPopups : public PopupPresenter
{
public:
    void popup(QMenu *, const QPoint &) override {}
};

// The program's start on test services: the main window made, loaded and shown, then the
// wait until every file list has painted with all its names.
class Start
{
public:
    Start(TestServices &services, RegistryStore &store, NoPopups &popups, int expectedRows)
    {
        QElapsedTimer timer;
        timer.start();
        m_form = std::make_unique<Form1>(services.services(), store, popups, quickSplash);
        m_constructMs = BenchTools::elapsedMs(timer);
        for (int n = 1; n <= PaneCount; ++n) {
            const FileList *list = m_form->board().pane(n).fileList();
            m_watches.push_back(std::make_unique<PaintWatch>(
                list->viewport(), [list, expectedRows] { return list->listCount() == expectedRows; }));
        }
        m_form->Form_Load();
        m_form->show();
        for (const auto &watch : m_watches) {
            if (!watch->wait(startTimeoutMs))
                return;
        }
        m_ms = BenchTools::elapsedMs(timer);
    }
    ~Start()
    {
        m_watches.clear();
        m_form.reset();
    }

    // The time in ms, negative when a list never painted with every name.
    double ms() const { return m_ms; }
    double constructMs() const { return m_constructMs; }
    const Form1 &form() const { return *m_form; }

private:
    std::unique_ptr<Form1> m_form;
    std::vector<std::unique_ptr<PaintWatch>> m_watches;
    double m_ms = -1.0;
    double m_constructMs = 0.0;
};

QString describeLists(const Form1 &form)
{
    QStringList counts;
    for (int n = 1; n <= PaneCount; ++n)
        counts.append(QString::number(form.board().pane(n).fileList()->listCount()));
    return counts.join(QStringLiteral(", "));
}

} // namespace

namespace StartCase {

BenchResult run(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    const QString folder = fixtures.manyFiles();
    const QByteArray encodedFolder = QFile::encodeName(folder);
    const int expectedRows = Fixtures::manyFilesCount;

    const std::optional<double> before = BenchTools::peakResidentMiB();
    TestServices services;
    RegistryStore store(services.configHome() + QStringLiteral("/Panoptra/Panoptra.ini"));
    NoPopups popups;
    if (!QDir::setCurrent(folder)) { // every pane opens on the program's current folder
        result.error = QStringLiteral("cannot make %1 the current folder").arg(folder);
        return result;
    }

    // The first start comes before the process holds anything else of the folder, so the peak
    // memory after it is the program's own.
    {
        Start first(services, store, popups, expectedRows);
        if (first.ms() < 0) {
            result.error = QStringLiteral("the file lists did not all show %1 names within %2 s (they hold %3)")
                               .arg(expectedRows).arg(startTimeoutMs / 1000).arg(describeLists(first.form()));
            return result;
        }
        result.peakMiB = BenchTools::peakResidentMiB();
        if (before)
            result.notes.append(QStringLiteral("peak memory before the first start: %1 MiB")
                                    .arg(QString::number(*before, 'f', 1)));
        const std::vector<std::string> expected = Baseline::sortedFileNames(encodedFolder, QByteArray());
        for (int n = 1; n <= PaneCount; ++n) {
            bool orderOnly = false;
            const QString difference
                = ListCheck::compareRows(*first.form().board().pane(n).fileList(), expected, &orderOnly);
            if (difference.isEmpty())
                continue;
            if (!orderOnly) {
                result.error = QStringLiteral("pane %1: ").arg(n) + difference;
                return result;
            }
            result.notes.append(QStringLiteral("pane %1: same names, other order: ").arg(n) + difference);
        }
    }

    QList<double> constructMs;
    for (int run = 0; run < runs; ++run) {
        {
            Start start(services, store, popups, expectedRows);
            if (start.ms() < 0) {
                result.error = QStringLiteral("a later start did not complete");
                return result;
            }
            result.oursMs.append(start.ms());
            constructMs.append(start.constructMs());
        }

        QElapsedTimer timer;
        timer.start();
        const std::vector<std::string> names = Baseline::sortedFileNames(encodedFolder, QByteArray());
        result.baselineMs.append(BenchTools::elapsedMs(timer));
        if (int(names.size()) != expectedRows) {
            result.error = QStringLiteral("readdir found %1 names, not %2").arg(names.size()).arg(expectedRows);
            return result;
        }
    }
    result.notes.append(QStringLiteral("the main window's construction alone (the panes' reads included): %1 ms")
                            .arg(QString::number(BenchTools::median(constructMs), 'f', 1)));
    if (const std::optional<double> end = BenchTools::peakResidentMiB())
        result.notes.append(QStringLiteral("peak memory after all runs (baseline included): %1 MiB")
                                .arg(QString::number(*end, 'f', 1)));
    return result;
}

} // namespace StartCase
