#include "support/TestDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestDir::TestDir() = default;

QString TestDir::filePath(const QString &relative) const
{
    return relative.isEmpty() ? m_dir.path() : m_dir.path() + QLatin1Char('/') + relative;
}

QString TestDir::createFile(const QString &relative, const QByteArray &contents)
{
    const QString full = filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly))
        file.write(contents);
    return full;
}

QString TestDir::createDir(const QString &relative)
{
    const QString full = filePath(relative);
    QDir().mkpath(full);
    return full;
}

QByteArray TestDir::read(const QString &relative) const
{
    QFile file(filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QStringList TestDir::entries(const QString &relative) const
{
    QStringList names = QDir(filePath(relative)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}
