#include "BenchTools.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

namespace BenchTools {

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double timedMs(const std::function<QString()> &work, QString &error)
{
    QElapsedTimer timer;
    timer.start();
    const QString problem = work();
    const double ms = elapsedMs(timer);
    if (!problem.isEmpty())
        error = problem;
    return ms;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    if (values.size() % 2)
        return values[middle];
    return (values[middle - 1] + values[middle]) / 2.0;
}

namespace {

// A "Name:     61234 kB" line of /proc/self/status, in MiB.
std::optional<double> statusMiB(const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (!line.startsWith(name))
            continue;
        bool ok = false;
        const qint64 kib = line.mid(name.size()).trimmed().split(' ').value(0).toLongLong(&ok);
        if (ok)
            return double(kib) / 1024.0;
    }
    return std::nullopt;
}

} // namespace

std::optional<double> peakResidentMiB()
{
    return statusMiB("VmHWM:");
}

std::optional<double> residentMiB()
{
    return statusMiB("VmRSS:");
}

bool resetPeakResident()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

namespace {

qint64 cpuNs(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

qint64 threadCpuNs()
{
    return cpuNs(CLOCK_THREAD_CPUTIME_ID);
}

qint64 processCpuNs()
{
    return cpuNs(CLOCK_PROCESS_CPUTIME_ID);
}

QString compareFiles(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot open %1 or %2").arg(a, b);
    if (first.size() != second.size())
        return QStringLiteral("%1 has %2 bytes, %3 has %4").arg(a).arg(first.size()).arg(b).arg(second.size());
    constexpr qint64 chunk = qint64(8) << 20;
    for (qint64 offset = 0; offset < first.size(); offset += chunk) {
        if (first.read(chunk) != second.read(chunk))
            return QStringLiteral("%1 and %2 differ after byte %3").arg(a, b).arg(offset);
    }
    return QString();
}

bool writeSynced(const QString &path, const QByteArray &bytes, int mode)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (put <= 0)
            break;
        done += put;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return done == bytes.size() && synced;
}

} // namespace BenchTools
