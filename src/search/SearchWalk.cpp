#include "search/SearchWalk.h"

#include "platform/PathHelper.h"

#include <utility>

SearchWalk::SearchWalk(SearchWalkHost &host, const QString &pattern, SearchFolderRead read)
    : m_host(host), m_pattern(pattern, NamePattern::Parts::Whole),
      m_read(read ? std::move(read) : SearchFolderRead(readFolder))
{
}

// The reader is left to end on its own: a read that never returns must not hold up the window.
SearchWalk::~SearchWalk() = default;

FolderReader::FolderEntries SearchWalk::readFolder(FolderDescent &descent, const DescentFolder &folder,
                                                   const NamePattern &pattern,
                                                   const std::function<bool(const FolderReader::FolderId &)> &enter)
{
    using namespace FolderReader;
    // Only a full path names a folder: a relative one would depend on where the program started.
    if (!folder.path.startsWith(QLatin1Char('/')))
        return FolderEntries();
    return entries(descent, folder, pattern, DotNames::List, enter);
}

bool SearchWalk::run(const QString &top)
{
    // Folders still to search, the next one last.
    QList<DescentFolder> pending{DescentFolder{top, std::nullopt}};
    m_reader = std::make_unique<SearchReader>(top, m_pattern, m_read);
    m_reader->restart(pending, m_seen, m_host.includeSubfolders());
    bool first = true;
    while (!pending.isEmpty()) {
        const DescentFolder folder = pending.takeLast();
        if (!first && m_host.yield())
            return false;
        first = false;
        switch (searchFolder(folder, pending)) {
        case Outcome::Next:
            break;
        case Outcome::Stop:
            return true;
        case Outcome::Ending:
            return false;
        }
    }
    return true;
}

SearchWalk::Outcome SearchWalk::waitForRead(const DescentFolder &folder, const QList<DescentFolder> &pending,
                                            FolderRead &read)
{
    for (;;) {
        if (std::optional<FolderRead> next = m_reader->take()) {
            if (next->folder == folder.path) {
                read = std::move(*next);
                return Outcome::Next;
            }
        } else if (!m_reader->finished()) {
            if (m_host.stopRequested())
                return Outcome::Stop;
            if (m_host.waitForEvents())
                return Outcome::Ending;
            continue;
        }
        // The reader went another way: it starts again here.
        m_reader->restart(QList<DescentFolder>(pending) << folder, m_seen, m_host.includeSubfolders());
    }
}

void SearchWalk::follow(const FolderRead &read, bool wentDeeper, const QList<DescentFolder> &pending)
{
    const bool includeSubfolders = m_host.includeSubfolders();
    if (read.descended != wentDeeper && !read.entries.folders.isEmpty())
        m_reader->restart(pending, m_seen, includeSubfolders);
    else
        m_reader->setSubfolders(includeSubfolders);
}

SearchWalk::Outcome SearchWalk::searchFolder(const DescentFolder &folder, QList<DescentFolder> &pending)
{
    FolderRead read;
    if (const Outcome waited = waitForRead(folder, pending, read); waited != Outcome::Next)
        return waited;
    const Outcome outcome = listFolder(read, pending);
    m_reader->giveBack(std::move(read));
    return outcome;
}

SearchWalk::Outcome SearchWalk::listFolder(const FolderRead &read, QList<DescentFolder> &pending)
{
    const QString &folder = read.folder;
    const FolderReader::FolderEntries &entries = read.entries;
    // A folder met again through a second mount was searched already.
    if (entries.opened && !entries.read)
        return Outcome::Next;
    if (entries.read)
        m_seen.insert({entries.id.device, entries.id.inode});

    m_host.aboutToFind(entries.files.size());
    for (const QString &name : entries.files) {
        if (m_host.stopRequested())
            return Outcome::Stop;
        ++m_counts.files;
        m_host.found(PathHelper::join(folder, name));
        if (m_host.closed()) {
            // The window closed under the walk: no folder is entered from here on.
            m_host.closeSeen();
            follow(read, false, pending);
            return Outcome::Next;
        }
        if (m_host.yield())
            return Outcome::Ending;
    }

    if (!m_host.includeSubfolders()) {
        follow(read, false, pending);
        return Outcome::Next;
    }
    if (m_host.stopRequested())
        return Outcome::Stop;
    m_host.entering(folder);
    ++m_counts.folders;
    const QList<DescentFolder> subfolders = read.descended ? read.subfolders : subfoldersOf(read);
    for (auto sub = subfolders.crbegin(); sub != subfolders.crend(); ++sub)
        pending.append(*sub);
    follow(read, true, pending);
    return Outcome::Next;
}
