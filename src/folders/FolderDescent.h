#pragma once

#include "folders/FolderId.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// A folder of a walk: its full path and, below the walk's top, the id its parent's listing saw.
struct DescentFolder
{
    QString path;
    std::optional<FolderReader::FolderId> listed;
};

// The folders of one walk, opened from its top down. Each folder below the top is opened
// relative to the folder that holds it, never through a link, and only while it is the very
// folder its parent's listing saw (the same device and inode): a folder swapped for a link, or
// for another folder, between its parent's listing and its own opening is not entered, so the
// walk cannot be led out of its tree. The folders on the way down to the one opened last stay
// open, so that a depth-first walk opens each folder with one call however deep it goes; past
// a bound the highest of them are closed, and opened again from the nearest open one above
// them when the walk comes back, each checked against the id it had. Paths are never handed to
// the system whole below the top, so depth has no limit. Used by one thread at a time.
class FolderDescent
{
public:
    // top: the folder the walk starts from, as given (a link there is followed: it is the folder
    // asked for). maxOpen: how many folders below the top may stay open at once.
    explicit FolderDescent(const QString &top, int maxOpen = 64);
    ~FolderDescent();
    FolderDescent(const FolderDescent &) = delete;
    FolderDescent &operator=(const FolderDescent &) = delete;

    const QString &top() const { return m_top; }
    // Opens folder to read its entries from the start: the top, or a folder below it that is
    // still what folder.listed says. The descriptor stays the descent's and is good until the
    // next call. -1 when it cannot be opened, is no folder, is a link, is not below the top or
    // is not the folder listed.
    int open(const DescentFolder &folder);
    // The descriptors open now, the top's included.
    int openCount() const;

private:
    struct Step
    {
        QByteArray name; // the top's: its full path
        FolderReader::FolderId id;
        int fd = -1;     // -1: closed, to be opened again from the step above
    };

    // folder's names below the top; false when folder is not below it.
    bool namesBelowTop(const QString &folder, std::vector<QByteArray> &names) const;
    bool openTop();
    // Makes the last step of the trail open again; false (the trail cut there) when it cannot
    // be, or is no longer the folder it was.
    bool reopenLast();
    // Opens name in the last step's folder and adds it to the trail; false when it cannot be
    // opened or (with expected) is another folder.
    bool descend(const QByteArray &name, const std::optional<FolderReader::FolderId> &expected);
    void cutTrail(size_t size);
    void closeAboveBound();

    QString m_top;
    int m_maxOpen;
    // From the top (first) down to the folder opened last.
    std::vector<Step> m_trail;
};
