#include "SearchTreeCase.h"

#include "Baseline.h"
#include "BenchTools.h"
#include "Fixtures.h"
#include "GapWatch.h"
#include "search/DeepSearch.h"
#include "search/ResultList.h"
#include "support/TestServices.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <ctime>

namespace {

// What one case searches and what the search must find.
struct SearchSpec
{
    QString folder;
    QString pattern;
    int expectedFiles;
    int expectedFolders;
    double gapTargetMs;
};

struct SearchRun
{
    double ms = -1.0;
    double longestGapMs = 0.0;
    double longestCpuGapMs = 0.0;
    QString error;
};

// One search through the tree in a shown search window, as the user starts it.
SearchRun searchOnce(TestServices &services, const SearchSpec &spec)
{
    SearchRun run;
    DeepSearch search(services.services());
    search.mnuSearchFor_Click();
    Dig &dig = *search.window().get();
    dig.txtvalue()->setText(spec.folder);
    dig.textval()->setText(spec.pattern);
    dig.Check1()->setChecked(true);
    QCoreApplication::processEvents();
    services.dialogs.clear();

    GapWatch gaps;
    QElapsedTimer timer;
    timer.start();
    // Start Search returns at once; the search goes on from the event loop until its summary.
    QEventLoop searching;
    QObject::connect(&dig, &Dig::idle, &searching, &QEventLoop::quit);
    dig.Command2_Click();
    if (dig.isBusy())
        searching.exec();
    run.ms = BenchTools::elapsedMs(timer);
    gaps.stop();
    run.longestGapMs = gaps.longestMs();
    run.longestCpuGapMs = gaps.longestCpuMs();

    const QString summary =
        QStringLiteral(" %1 files found in %2 directories").arg(spec.expectedFiles).arg(spec.expectedFolders);
    if (dig.List1()->count() != spec.expectedFiles || services.dialogs.messageTexts() != QStringList{summary})
        run.error = QStringLiteral("the search listed %1 files and said %2")
                        .arg(dig.List1()->count())
                        .arg(services.dialogs.messageTexts().join(QStringLiteral(" / ")));
    return run;
}

QString milliseconds(double value)
{
    return QString::number(value, 'f', 1) + QStringLiteral(" ms");
}

BenchResult runSearch(const SearchSpec &spec, int runs)
{
    BenchResult result;
    const QString &tree = spec.folder;
    const QByteArray encodedTree = QFile::encodeName(tree);
    const QString &pattern = spec.pattern;
    const int expectedFiles = spec.expectedFiles;
    TestServices services;
    services.dialogs.acceptAllMessages();

    // The first search warms the caches; the peak memory after it is the search's own.
    const std::optional<double> before = BenchTools::peakResidentMiB();
    const SearchRun first = searchOnce(services, spec);
    if (!first.error.isEmpty()) {
        result.error = first.error;
        return result;
    }
    result.peakMiB = BenchTools::peakResidentMiB();
    if (before)
        result.notes.append(QStringLiteral("peak memory before the first search: %1 MiB")
                                .arg(QString::number(*before, 'f', 1)));
    if (Baseline::walkMatching(encodedTree, pattern.toUtf8()).size() != size_t(expectedFiles)) {
        result.error = QStringLiteral("the readdir walk did not find %1 files").arg(expectedFiles);
        return result;
    }

    QList<double> gaps;
    QList<double> cpuGaps;
    for (int i = 0; i < runs; ++i) {
        const SearchRun ours = searchOnce(services, spec);
        if (!ours.error.isEmpty()) {
            result.error = ours.error;
            return result;
        }
        result.oursMs.append(ours.ms);
        gaps.append(ours.longestGapMs);
        cpuGaps.append(ours.longestCpuGapMs);

        QElapsedTimer timer;
        timer.start();
        const size_t found = Baseline::walkMatching(encodedTree, pattern.toUtf8()).size();
        result.baselineMs.append(BenchTools::elapsedMs(timer));
        if (found != size_t(expectedFiles)) {
            result.error = QStringLiteral("the readdir walk found %1 files").arg(found);
            return result;
        }
    }
    result.gapTargetMs = spec.gapTargetMs;
    result.longestGapMs = *std::max_element(gaps.begin(), gaps.end());
    const auto each = [](const QList<double> &values) {
        QStringList texts;
        for (double value : values)
            texts.append(milliseconds(value));
        return texts.join(QStringLiteral(", "));
    };
    result.notes.append(QStringLiteral("longest gap between two yields, per run: %1").arg(each(gaps)));
    result.notes.append(QStringLiteral("the same in the window thread's own processor time: %1").arg(each(cpuGaps)));

    // For the record: the system's own tool on the same tree.
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    find.start(QStringLiteral("find"), {tree, QStringLiteral("-iname"), pattern});
    if (find.waitForFinished(120 * 1000) && find.exitCode() == 0)
        result.notes.append(QStringLiteral("find <tree> -iname '%1': %2").arg(pattern, milliseconds(BenchTools::elapsedMs(timer))));
    if (const std::optional<double> end = BenchTools::peakResidentMiB())
        result.notes.append(QStringLiteral("peak memory after all runs: %1 MiB").arg(QString::number(*end, 'f', 1)));
    return result;
}

} // namespace

namespace SearchTreeCase {

BenchResult run(const Fixtures &fixtures, int runs)
{
    // One name in matchEvery matches; the top folder and every folder below it are entered.
    return runSearch({fixtures.searchTree(), QStringLiteral("*.log"), 222220 / Fixtures::matchEvery, 11111, 15.0}, runs);
}

BenchResult runFlat(const Fixtures &fixtures, int runs)
{
    // Every file matches: the read and the hand-over of a million names.
    return runSearch({fixtures.flatFolder(), QStringLiteral("*.*"), Fixtures::flatFilesCount, 1, 50.0}, runs);
}

} // namespace SearchTreeCase
