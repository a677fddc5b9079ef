#pragma once

#include "panes/NamePattern.h"

#include <QString>
#include <QStringList>

#include <set>
#include <utility>

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
    // A file that matches, as its full path.
    virtual void found(const QString &path) = 0;
    // The walk goes on from the files of folder to its subfolders.
    virtual void entering(const QString &folder) = 0;
    // Lets pending events run; true when the program is ending.
    virtual bool yield() = 0;
};

// The files and folders one walk counted.
struct SearchCounts
{
    qint64 files = 0;
    qint64 folders = 0;
};

// The deep search's folder walk: every file whose name matches pattern in one folder, dot
// names included, then, when the host asks for it, in each subfolder, depth first, in sorted
// order. A folder's files are listed before any subfolder is read, so one folder is open at a
// time. The walk keeps its own list of folders still to read (no recursion, no depth limit)
// and never enters a folder twice, so links to an ancestor or bind mounts cannot loop. A
// folder that cannot be read yields nothing, and the walk goes on.
class SearchWalk
{
public:
    SearchWalk(SearchWalkHost &host, const QString &pattern);

    // Walks from top. False when the program began to end during the walk.
    bool run(const QString &top);
    const SearchCounts &counts() const { return m_counts; }

private:
    enum class Outcome { Next, Stop, Ending };
    // Lists folder's files and, when the walk goes deeper, queues its subfolders.
    Outcome searchFolder(const QString &folder, QStringList &pending);

    SearchWalkHost &m_host;
    NamePattern m_pattern;
    SearchCounts m_counts;
    // The device and inode of every folder read in this walk.
    std::set<std::pair<quint64, quint64>> m_seen;
};
