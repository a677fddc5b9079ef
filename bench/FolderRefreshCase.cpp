#include "FolderRefreshCase.h"

#include "Baseline.h"
#include "BenchTools.h"
#include "Fixtures.h"
#include "PaintWatch.h"
#include "panes/FolderList.h"
#include "panes/PaneBoard.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QWidget>

#include <memory>
#include <vector>

namespace {

constexpr int paintTimeoutMs = 30 * 1000;

QString milliseconds(double value)
{
    return QString::number(value, 'f', 2) + QStringLiteral(" ms");
}

} // namespace

namespace FolderRefreshCase {

namespace {

BenchResult measure(const Fixtures &fixtures, int runs, bool changeFolderFirst)
{
    BenchResult result;
    const QString folder = fixtures.manyFolders();
    const QByteArray encodedFolder = QFile::encodeName(folder);

    // Real files and folders; scripted dialogs fail loudly should the step ask anything.
    TestServices services;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder); // every pane opens on the current folder
    QWidget window;
    PaneBoard board(&window, services.services());
    QDir::setCurrent(previous);
    for (int n = 1; n <= PaneCount; ++n)
        board.pane(n).setVisible(true);
    const QRect used = window.childrenRect();
    window.resize(used.right() + 1, used.bottom() + 1);
    window.show();

    const int expectedRows = board.pane(2).folderList()->openRow() + 1 + Fixtures::manyFoldersCount;
    std::vector<std::unique_ptr<PaintWatch>> watches;
    for (int n = 2; n <= PaneCount; ++n) {
        FolderList *list = board.pane(n).folderList();
        if (list->path() != folder || list->rowCount() != expectedRows) {
            result.error = QStringLiteral("pane %1 shows %2 with %3 rows, not %4 with %5")
                               .arg(n).arg(list->path()).arg(list->rowCount()).arg(folder).arg(expectedRows);
            return result;
        }
        watches.push_back(std::make_unique<PaintWatch>(list->viewport(), [list, expectedRows] {
            return list->rowCount() == expectedRows;
        }));
    }
    const auto waitForPaints = [&] {
        for (const auto &watch : watches) {
            if (!watch->wait(paintTimeoutMs))
                return false;
        }
        return true;
    };
    const auto resetPaints = [&] {
        for (const auto &watch : watches)
            watch->reset();
    };
    if (!waitForPaints()) {
        result.error = QStringLiteral("the folder lists never painted");
        return result;
    }

    QList<double> callMs;
    QList<double> unsharedMs;
    // One untimed round first: the folder is then in the caches for both sides alike.
    for (int run = -1; run < runs; ++run) {
        if (changeFolderFirst) {
            // Another program adds and removes a subfolder: the listing ends as it was, but the
            // lists can no longer trust their earlier read and must read the folder again.
            const QString passing = folder + QStringLiteral("/passing-") + QString::number(run + 1);
            QDir().mkdir(passing);
            QDir().rmdir(passing);
        }
        resetPaints();
        QElapsedTimer timer;
        timer.start();
        board.folderChange(1);
        const double call = BenchTools::elapsedMs(timer);
        if (!waitForPaints()) {
            result.error = QStringLiteral("a refreshed folder list did not paint");
            return result;
        }
        const double ours = BenchTools::elapsedMs(timer);

        timer.restart();
        const std::vector<std::string> names = Baseline::folderNames(encodedFolder);
        const double baseline = BenchTools::elapsedMs(timer);
        if (int(names.size()) != Fixtures::manyFoldersCount) {
            result.error = QStringLiteral("readdir found %1 folders, not %2").arg(names.size()).arg(Fixtures::manyFoldersCount);
            return result;
        }

        // For the report: the four lists refreshed again at once, each on its own.
        timer.restart();
        for (int n = 2; n <= PaneCount; ++n)
            board.pane(n).folderList()->refresh();
        const double unshared = BenchTools::elapsedMs(timer);
        if (!waitForPaints()) {
            result.error = QStringLiteral("a refreshed folder list did not paint");
            return result;
        }
        if (run < 0)
            continue;
        result.oursMs.append(ours);
        result.baselineMs.append(baseline);
        callMs.append(call);
        unsharedMs.append(unshared);
    }
    result.notes.append(QStringLiteral("folderChange call alone (before the paints): %1")
                            .arg(milliseconds(BenchTools::median(callMs))));
    result.notes.append(QStringLiteral("four FolderList::refresh calls of their own right after, the folder unchanged: %1")
                            .arg(milliseconds(BenchTools::median(unsharedMs))));
    return result;
}

} // namespace

BenchResult run(const Fixtures &fixtures, int runs)
{
    return measure(fixtures, runs, false);
}

BenchResult runChanged(const Fixtures &fixtures, int runs)
{
    return measure(fixtures, runs, true);
}

} // namespace FolderRefreshCase
