#include "MachineInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QSysInfo>
#include <QThread>

namespace {

QString cpuModel()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuinfo.open(QIODevice::ReadOnly))
        return QString();
    for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
        if (line.startsWith("model name"))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
    }
    return QString();
}

// "rotational", "non-rotational" (as the kernel flags the device) or "" from the block device's queue; a partition asks its disk.
QString diskKind(const QByteArray &device)
{
    const QString name = QFileInfo(QFile::decodeName(device)).fileName();
    for (const QString &path : {QStringLiteral("/sys/class/block/%1/queue/rotational").arg(name),
                                QStringLiteral("/sys/class/block/%1/../queue/rotational").arg(name)}) {
        QFile flag(path);
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "0" ? QStringLiteral("non-rotational") : QStringLiteral("rotational");
    }
    return QString();
}

} // namespace

namespace MachineInfo {

QJsonObject describe(const QString &fixtureRoot)
{
    const QStorageInfo storage(fixtureRoot);
    return {
        {QStringLiteral("cpus"), QThread::idealThreadCount()},
        {QStringLiteral("cpuModel"), cpuModel()},
        {QStringLiteral("kernel"), QSysInfo::kernelVersion()},
        {QStringLiteral("fixtureRoot"), fixtureRoot},
        {QStringLiteral("filesystem"), QString::fromUtf8(storage.fileSystemType())},
        {QStringLiteral("device"), QString::fromUtf8(storage.device())},
        {QStringLiteral("disk"), diskKind(storage.device())},
    };
}

QString summary(const QJsonObject &machine)
{
    return QStringLiteral("machine: %1 CPUs, %2, kernel %3; fixtures on %4 %5 (%6)")
        .arg(machine.value(QStringLiteral("cpus")).toInt())
        .arg(machine.value(QStringLiteral("cpuModel")).toString(),
             machine.value(QStringLiteral("kernel")).toString(),
             machine.value(QStringLiteral("filesystem")).toString(),
             machine.value(QStringLiteral("device")).toString(),
             machine.value(QStringLiteral("disk")).toString());
}

} // namespace MachineInfo
