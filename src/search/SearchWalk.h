#pragma once

#include "folders/FolderDescent.h"
#include "folders/NamePattern.h"
#include "search/SearchReader.h"

#include <QList>
#include <QString>

#include <memory>

// What a walk needs of the window it runs in: the window's flags, where found files go, and
// the yield during which any command of the program may run.
class SearchWalkHost
{
public:
    virtual ~SearchWalkHost() = default;

    // Stop Search was pressed (or the search is over): the walk ends at once.
    virtual bool stopRequested() const = 0;
    // The window was closed while the walk went on.
    virtual bool closed() const = 0;
    // The walk has seen the close: subfolders are no longer searched and the window may be
    // used again.
    virtual void closeSeen() = 0;
    // Whether the walk goes on into each folder's subfolders; read after each folder's files.
    virtual bool includeSubfolders() const = 0;
    // count more files will be found (the matches of the folder about to be listed).
    virtual void aboutToFind(qsizetype count) = 0;
    // A file that matches, as its full path.
    virtual void found(const QString &path) = 0;
    // The walk goes on from the files of folder to its subfolders.
    virtual void entering(const QString &folder) = 0;
    // Lets pending events run; true when the program is ending.
    virtual bool yield() = 0;
    // The next folder is not read yet: lets events run, waiting for one if there is none (the
    // reader posts one when its read is ready); true when the program is ending.
    virtual bool waitForEvents() = 0;
};

// The files and folders one walk counted.
struct SearchCounts
{
    qint64 files = 0;
    qint64 folders = 0;
};

// The deep search's folder walk: every file whose name matches pattern in one folder, dot
// names included, then, when the host asks for it, in each subfolder, depth first, in sorted
// order. A folder's files are listed before its subfolders. The walk keeps its own list of
// folders still to search (no recursion, no depth limit). It stays under the folder it started
// from: a link to a folder is not followed (a link to a file is a file), a folder changed for
// a link or for another folder while the walk goes on is not entered, and a folder met again
// (a bind mount) is not searched twice. A folder that cannot be read yields nothing, and the
// walk goes on.
//
// The folders are read by a SearchReader on a thread of its own; the walk only waits for
// them, letting events run, so Stop Search and the program's end are answered also while a
// read does not return.
class SearchWalk
{
public:
    // read: how a folder is read (readFolder unless given).
    SearchWalk(SearchWalkHost &host, const QString &pattern, SearchFolderRead read = SearchFolderRead());
    ~SearchWalk();

    // Walks from top. False when the program began to end during the walk.
    bool run(const QString &top);
    const SearchCounts &counts() const { return m_counts; }

    // The matching files (dot names too) and the real subfolders of folder, reached through
    // descent; a relative path names no folder.
    static FolderReader::FolderEntries readFolder(FolderDescent &descent, const DescentFolder &folder,
                                                  const NamePattern &pattern,
                                                  const std::function<bool(const FolderReader::FolderId &)> &enter);

private:
    enum class Outcome { Next, Stop, Ending };
    // Lists folder's files and, when the walk goes deeper, queues its subfolders.
    Outcome searchFolder(const DescentFolder &folder, QList<DescentFolder> &pending);
    Outcome listFolder(const FolderRead &read, QList<DescentFolder> &pending);
    // Waits for the read of folder, the next one after pending.
    Outcome waitForRead(const DescentFolder &folder, const QList<DescentFolder> &pending, FolderRead &read);
    // After a folder: the reader goes on as the walk does, or starts again from pending.
    void follow(const FolderRead &read, bool wentDeeper, const QList<DescentFolder> &pending);

    SearchWalkHost &m_host;
    NamePattern m_pattern;
    SearchFolderRead m_read;
    std::unique_ptr<SearchReader> m_reader;
    SearchCounts m_counts;
    // Every folder read in this walk.
    SeenFolders m_seen;
};
