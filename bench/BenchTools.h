#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Small measuring helpers the cases share.
namespace BenchTools {

double elapsedMs(const QElapsedTimer &timer);
// The time work takes; what it says went wrong ("" for nothing) goes to error.
double timedMs(const std::function<QString()> &work, QString &error);
// The middle value (the mean of the two middle ones for an even count); 0 for none.
double median(QList<double> values);
// The process's peak resident memory (VmHWM) in MiB; nullopt where /proc does not say.
std::optional<double> peakResidentMiB();
// Its resident memory now (VmRSS) in MiB.
std::optional<double> residentMiB();
// Starts the peak anew from the resident memory now (clear_refs 5); false where the system
// does not let it.
bool resetPeakResident();
// Processor time used so far, in nanoseconds: by the calling thread, and by the whole process
// (every thread).
qint64 threadCpuNs();
qint64 processCpuNs();
// bytes written to a new file at path (made with mode, an existing one emptied) and put on
// disk; false when any step failed.
bool writeSynced(const QString &path, const QByteArray &bytes, int mode);
// "" when the two files hold the same bytes, else what differs.
QString compareFiles(const QString &a, const QString &b);

} // namespace BenchTools
