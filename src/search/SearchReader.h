#pragma once

#include "folders/FolderDescent.h"
#include "folders/FolderReader.h"
#include "folders/NamePattern.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>

// Reads one folder of a walk for the walk: its matching files and its subfolders, opened through
// descent; enter as in FolderReader::entries. Runs on the reader's thread.
using SearchFolderRead =
    std::function<FolderReader::FolderEntries(FolderDescent &descent, const DescentFolder &folder,
                                              const NamePattern &pattern,
                                              const std::function<bool(const FolderReader::FolderId &)> &enter)>;

// The device and inode of every folder read in one walk.
using SeenFolders = std::set<std::pair<quint64, quint64>>;

// One folder as the reader read it.
struct FolderRead
{
    QString folder;
    FolderReader::FolderEntries entries;
    // The reader went on into this folder's subfolders: their reads come next.
    bool descended = false;
    // Then the subfolders, in entries.folders' order.
    QList<DescentFolder> subfolders;
};

// The subfolders of a read folder, each with the id its listing saw, in the listing's order.
QList<DescentFolder> subfoldersOf(const FolderRead &read);

// How far the reader may run ahead of the walk: folders, and names in them (a single larger
// folder is read all the same). A reader that ran out of room goes on once the walk has taken
// a quarter of what it read ahead.
struct SearchReadAhead
{
    size_t folders = 1024;
    qsizetype names = 512 * 1024;
};

// Reads the folders of one walk on a thread of its own, ahead of the window, so that the
// window's thread never waits on a folder (a stuck mount, a folder of a million files). It reads
// one folder at a time in the walk's own order (depth first, each folder once), every folder
// below the top opened from the one above it (FolderDescent), and goes on into subfolders as
// long as the walk says it will; the walk takes the reads in that order, and when it goes
// another way than the reader guessed, it restarts the reader from where it is. How far the
// reader may run ahead is bounded.
//
// The thread owns everything it uses. Nothing ever waits for it: when the reader is destroyed
// the thread ends after its current read, and a read that never returns (a dead mount) leaves
// it behind without holding up the window, Stop Search or the program's end.
class SearchReader
{
public:
    // top: the walk's top, below which every folder read lies. ready: called on this thread,
    // from its event loop, when a read comes that take() found missing.
    SearchReader(const QString &top, const NamePattern &pattern, SearchFolderRead read,
                 std::function<void()> ready = {}, const SearchReadAhead &bounds = SearchReadAhead());
    ~SearchReader();
    SearchReader(const SearchReader &) = delete;
    SearchReader &operator=(const SearchReader &) = delete;

    // Drops what was read ahead and reads on from pending (the next folder last); the folders
    // in seen count as read already.
    void restart(const QList<DescentFolder> &pending, const SeenFolders &seen, bool subfolders);
    // Whether the reader goes on into the subfolders of the folders it reads from now on.
    void setSubfolders(bool subfolders);
    // The next read in order, when it is ready. When none is, the reader calls ready once the
    // next one is.
    std::optional<FolderRead> take();
    // Every folder was read and taken: nothing more will come until a restart.
    bool finished() const;
    // A read the walk is done with, freed by the reader's thread, which made it: memory given
    // back across threads costs both of them a lock.
    void giveBack(FolderRead &&read);

private:
    struct State;
    class Wake;
    static void readAhead(std::shared_ptr<State> state);

    std::shared_ptr<State> m_state;
    // Receives the wake-up events; owned here, on the window's thread.
    std::unique_ptr<Wake> m_wake;
    // take() armed the wake-up and found nothing since.
    bool m_wakeArmed = false;
};
