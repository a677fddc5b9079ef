#pragma once

#include "platform/Posix.h"

#include <QByteArray>
#include <QString>

// A lock file beside a file that several programs write, which QLockFile (and so QSettings)
// takes too: made with O_EXCL, holding its owner's process id, program name and host name, and
// held with flock(2) for as long as it is taken, so that the kernel lets go of it when its
// holder ends in any way. A lock file whose holder is gone (killed before it could remove it,
// even before it wrote its first line) is removed and taken at once.
//
// The lock's folder is reached through OwnedPath, and the lock file itself is never followed.
class LockFile
{
public:
    explicit LockFile(QString path);
    ~LockFile();
    LockFile(const LockFile &) = delete;
    LockFile &operator=(const LockFile &) = delete;

    // Takes the lock, trying again for up to waitMs while a live holder has it (a writer holds
    // it for a few milliseconds). False when it is still held then, or when there can be no
    // lock file there (its name taken by a folder or a link, no room, no right to make it).
    // makeFolders: the folders missing on the way are made first.
    bool lock(int waitMs, bool makeFolders = true);
    void unlock();
    bool isLocked() const { return m_lock.isOpen(); }

private:
    enum class Holder { Gone, Alive, NoLock };
    // Who holds the lock file that is there; a holder that is gone has had it removed.
    Holder holderOf(int folder, const QByteArray &name) const;

    QString m_path;
    Posix::FileDescriptor m_folder;
    QByteArray m_name;
    Posix::FileDescriptor m_lock;
};
