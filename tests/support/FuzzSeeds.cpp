#include "support/FuzzSeeds.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace FuzzSeeds {

bool write(const char *variable, const QByteArray &bytes)
{
    const QString folder = qEnvironmentVariable(variable);
    if (folder.isEmpty())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    // Named by content as libFuzzer names what it adds, so that a seed written twice is one.
    const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    QFile file(folder + QLatin1Char('/') + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace FuzzSeeds
