#pragma once

#include <QString>

// Tells whether a folder read earlier could read differently now, so that a refresh of an
// unchanged folder need not read 100,000 entries again. The kernel reports every change of a
// local folder's entries (inotify) before the call that made it returns, so "unchanged" is
// exact there; folders on network or FUSE file systems, folders that could not be watched and
// listings that depend on symbolic links are never trusted and are always read again.
class FolderWatch
{
public:
    FolderWatch();
    ~FolderWatch();
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;

    // Starts watching path, replacing any earlier watch, before its entries are read. dirFd is
    // the folder as opened for the read (-1: it is opened here), so the watch is known to be
    // on the folder that is read.
    void begin(const QString &path, int dirFd = -1);
    // The listing just read cannot be kept up to date by watching (it follows links).
    void distrust();
    // False only when a read of path now would list exactly what the last read listed.
    bool mayHaveChanged(const QString &path);

private:
    void drain();

    int m_fd = -1;
    int m_wd = -1;
    bool m_trusted = false;
    QString m_path;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};
