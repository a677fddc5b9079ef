#pragma once

#include "folders/FolderDescent.h"
#include "folders/NamePattern.h"
#include "search/SearchReader.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// What a walk needs of the window it runs in: the window's flags, where found files go, and
// when the walk's slice of the window's time is over.
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
    // Asked after each file found and before each folder after the first: true when the walk
    // is to let the window's events run now (step() returns Yield).
    virtual bool sliceOver() = 0;
    // The read the walk waits for (step() returned Wait) may be here: step() again. Called from
    // the event loop.
    virtual void readReady() = 0;
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
// The walk goes in steps, so that the window's events run between them and nothing waits for
// the walk in a loop of its own: each step walks on until the host's slice is over, the next
// folder is not read yet, or the walk is over. The folders are read by a SearchReader on a
// thread of its own; a walk that waits for one only asks to be called again when it comes, so
// Stop Search and the program's end are answered also while a read does not return.
class SearchWalk
{
public:
    enum class Step {
        Yield, // the slice is over: step again once the window's events have run
        Wait,  // the next folder is not read yet: step again at the host's readReady()
        Done,  // the walk went through its folders, or stopped
    };

    // read: how a folder is read (readFolder unless given).
    SearchWalk(SearchWalkHost &host, const QString &top, const QString &pattern,
               SearchFolderRead read = SearchFolderRead());
    ~SearchWalk();
    SearchWalk(const SearchWalk &) = delete;
    SearchWalk &operator=(const SearchWalk &) = delete;

    Step step();
    const SearchCounts &counts() const { return m_counts; }

    // The matching files (dot names too) and the real subfolders of folder, reached through
    // descent; a relative path names no folder.
    static FolderReader::FolderEntries readFolder(FolderDescent &descent, const DescentFolder &folder,
                                                  const NamePattern &pattern,
                                                  const std::function<bool(const FolderReader::FolderId &)> &enter);

private:
    enum class Outcome { Next, Yield, Wait, Stop };
    // Takes the read of m_folder from the reader, when it is there.
    Outcome takeRead();
    // Lists m_read's files from m_nextFile on and, when the walk goes deeper, queues its
    // subfolders.
    Outcome listFolder();
    // After a folder: the reader goes on as the walk does, or starts again from pending.
    void follow(const FolderRead &read, bool wentDeeper);
    // The folder's read goes back to the reader.
    void folderDone();

    SearchWalkHost &m_host;
    NamePattern m_pattern;
    std::unique_ptr<SearchReader> m_reader;
    // Folders still to search, the next one last.
    QList<DescentFolder> m_pending;
    // Taken from m_pending; its read has not come yet.
    std::optional<DescentFolder> m_folder;
    // The folder being listed, and its next file (-1: not begun).
    std::optional<FolderRead> m_read;
    qsizetype m_nextFile = -1;
    bool m_over = false;
    SearchCounts m_counts;
    // Every folder read in this walk.
    SeenFolders m_seen;
};
