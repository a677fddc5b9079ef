#pragma once

#include "support/TestDir.h"

#include <QByteArray>
#include <QStringList>

// XDG_CACHE_HOME pointed at a temporary folder for as long as the object lives: the file
// services keep the backups of files written in place there, in Panoptra/.
class CacheHome
{
public:
    CacheHome();
    ~CacheHome();
    CacheHome(const CacheHome &) = delete;
    CacheHome &operator=(const CacheHome &) = delete;

    TestDir &dir() { return m_dir; }
    QString path() const { return m_dir.path(); }
    // The names of the backups kept now.
    QStringList backups() const { return m_dir.entries(QStringLiteral("Panoptra")); }
    QByteArray backup(const QString &name) const { return m_dir.read(QStringLiteral("Panoptra/") + name); }

private:
    TestDir m_dir;
    QByteArray m_old;
};
