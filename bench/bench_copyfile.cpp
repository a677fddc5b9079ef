// Copies a 1 GiB file with the file services and with cp(1), alternating, and fails when the
// best copy of ours takes more than 1.25 times the best copy of cp.
//   bench_copyfile [folder] [MiB]   (default: the temporary folder, 1024)

#include "platform/PosixFileServices.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr double allowedRatio = 1.25;
constexpr int rounds = 3;

bool writeSource(const QString &path, qint64 mebibytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 i = 0; i < mebibytes; ++i) {
        for (int j = 0; j < block.size(); j += 8)
            block[j] = char(i + j);
        if (file.write(block) != block.size())
            return false;
    }
    return file.flush();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTemporaryDir dir(args.size() > 1 ? args.at(1) + QStringLiteral("/bench-XXXXXX") : QString());
    const qint64 mebibytes = args.size() > 2 ? args.at(2).toLongLong() : 1024;
    if (!dir.isValid() || mebibytes <= 0) {
        std::fprintf(stderr, "bench_copyfile: no temporary folder\n");
        return 2;
    }
    const QString source = dir.filePath(QStringLiteral("source.bin"));
    const QString target = dir.filePath(QStringLiteral("target.bin"));
    if (!writeSource(source, mebibytes)) {
        std::fprintf(stderr, "bench_copyfile: cannot write %lld MiB in %s\n", mebibytes, qPrintable(dir.path()));
        return 2;
    }

    PosixFileServices files;
    qint64 ours = std::numeric_limits<qint64>::max();
    qint64 cp = std::numeric_limits<qint64>::max();
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(target);
        QElapsedTimer clock;
        clock.start();
        QProcess copy;
        copy.start(QStringLiteral("cp"), {source, target});
        if (!copy.waitForFinished(-1) || copy.exitCode() != 0) {
            std::fprintf(stderr, "bench_copyfile: cp failed\n");
            return 2;
        }
        cp = std::min(cp, clock.elapsed());

        QFile::remove(target);
        clock.restart();
        if (files.copyFile(source, target) != 0) {
            std::fprintf(stderr, "bench_copyfile: copyFile failed\n");
            return 2;
        }
        ours = std::min(ours, clock.elapsed());
    }
    if (QFile(target).size() != mebibytes << 20) {
        std::fprintf(stderr, "bench_copyfile: the copy has the wrong size\n");
        return 2;
    }

    const double ratio = double(std::max<qint64>(ours, 1)) / double(std::max<qint64>(cp, 1));
    std::printf("copy of %lld MiB: copyFile %lld ms, cp %lld ms, ratio %.2f (allowed %.2f)\n",
                mebibytes, ours, cp, ratio, allowedRatio);
    return ratio <= allowedRatio ? 0 : 1;
}
