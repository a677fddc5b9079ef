#pragma once

#include "platform/Posix.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// Where a path leads when every link on its way is followed only where it leads to something
// that belongs to the owner of the folder holding the link (where it leads nowhere: when the
// folder that would hold it belongs to that owner). So a program run by root over another
// user's folder (sudo keeping HOME) never reaches beyond that user's files through a link the
// user planted: at the file, at its folder or at any folder on the way. Links of the system
// (root's links in root's folders) and a user's links among their own files are followed.
//
// The path is taken apart one name at a time from open folders, never looked up whole again,
// so a link swapped in after a folder was opened is not followed.
class OwnedPath
{
public:
    enum class Status {
        Found,   // the last name is there (and no link): folder() holds it
        Missing, // folder() exists, the last name in it does not
        Refused, // a link on the way leads to another owner's file or folder
        Failed,  // error() says why (ENOENT: a folder on the way is missing)
    };

    // makeFolders: folders missing on the way are made; where root makes one in a folder of
    // another user, it is given that folder's owner and group.
    static OwnedPath resolve(const QString &path, bool makeFolders);
    // The folder that would hold path's last name, which is not looked at: status() Found with
    // folder() and name() set, or why not. For a name that must not be followed even where the
    // rule allows (a lock file, made with O_EXCL).
    static OwnedPath resolveFolderOf(const QString &path, bool makeFolders);

    Status status() const { return m_status; }
    int error() const { return m_error; }
    // The folder that holds the last name (Found and Missing), opened with O_PATH.
    int folder() const { return m_folder.fd(); }
    const struct stat &folderStatus() const { return m_folderStatus; }
    // The last name as it stands in folder() (where a link was followed: its target's name).
    const QByteArray &name() const { return m_name; }
    // The last name's status (Found).
    const struct stat &fileStatus() const { return m_fileStatus; }

private:
    friend class OwnedPathWalk;

    Status m_status = Status::Failed;
    int m_error = 0;
    Posix::FileDescriptor m_folder;
    struct stat m_folderStatus = {};
    QByteArray m_name;
    struct stat m_fileStatus = {};
};
