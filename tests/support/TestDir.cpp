#include "support/TestDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <ftw.h>

TestDir::TestDir() = default;

namespace {
int removeEntry(const char *path, const struct stat *, int, struct FTW *where)
{
    if (where->level > 0)
        std::remove(path);
    return 0;
}
} // namespace

TestDir::~TestDir()
{
    removeContents(m_dir.path());
}

void TestDir::removeContents(const QString &folder)
{
    ::nftw(QFile::encodeName(folder).constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

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
