#include "CopyCase.h"

#include "BenchTools.h"
#include "Fixtures.h"
#include "platform/PosixFileServices.h"

#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace {

struct CopyTargets
{
    QString ours;
    QString baseline;

    // Removes both copies and writes everything out, so a run starts with nothing pending.
    void clear() const
    {
        QFile::remove(ours);
        QFile::remove(baseline);
        ::sync();
    }
};

} // namespace

namespace CopyCase {

BenchResult run(const Fixtures &fixtures, int runs)
{
    BenchResult result;
    const QString source = fixtures.bigFile();
    const CopyTargets targets{fixtures.copyFolder() + QStringLiteral("/ours.bin"),
                              fixtures.copyFolder() + QStringLiteral("/cp.bin")};
    PosixFileServices files;

    const auto copyOurs = [&]() -> QString {
        const int error = files.copyFile(source, targets.ours);
        return error ? QStringLiteral("copyFile gave error %1").arg(error) : QString();
    };
    const auto copyBaseline = [&]() -> QString {
        const int code = QProcess::execute(QStringLiteral("cp"), {QStringLiteral("--"), source, targets.baseline});
        return code ? QStringLiteral("cp exited with %1").arg(code) : QString();
    };
    const auto timed = [](const auto &copy, QList<double> &times) -> QString {
        QElapsedTimer timer;
        timer.start();
        const QString error = copy();
        ::sync();
        times.append(BenchTools::elapsedMs(timer));
        return error;
    };

    // The source is read from the page cache by both sides alike; one untimed copy of each
    // brings it there and checks that the copy is right.
    targets.clear();
    QList<double> unused;
    for (const QString &error : {timed(copyOurs, unused), timed(copyBaseline, unused),
                                 BenchTools::compareFiles(source, targets.ours)}) {
        if (!error.isEmpty()) {
            result.error = error;
            targets.clear();
            return result;
        }
    }

    // Alternate which side goes first, so neither always meets the other's write-back.
    for (int run = 0; run < runs && result.error.isEmpty(); ++run) {
        for (int side = 0; side < 2 && result.error.isEmpty(); ++side) {
            targets.clear();
            const bool ours = (run + side) % 2 == 0;
            result.error = ours ? timed(copyOurs, result.oursMs) : timed(copyBaseline, result.baselineMs);
        }
    }
    targets.clear();
    return result;
}

} // namespace CopyCase
