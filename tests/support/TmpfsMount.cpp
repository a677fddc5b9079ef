#include "support/TmpfsMount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

TmpfsMount::TmpfsMount(const QString &folder, const QString &size) : m_folder(folder)
{
    const QByteArray options = "size=" + size.toLatin1() + ",mode=0755";
    m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
    if (!m_mounted)
        m_error = QString::fromLocal8Bit(std::strerror(errno));
}

bool TmpfsMount::remountReadOnly()
{
    return m_mounted
        && ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

TmpfsMount::~TmpfsMount()
{
    // Lazy, so that a test that failed with a file still open cannot leave the mount behind.
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}
