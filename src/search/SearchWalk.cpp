#include "search/SearchWalk.h"

#include "platform/PathHelper.h"

#include <utility>

SearchWalk::SearchWalk(SearchWalkHost &host, const QString &top, const QString &pattern, SearchFolderRead read)
    : m_host(host), m_pattern(pattern, NamePattern::Parts::Whole), m_pending{DescentFolder{top, std::nullopt}}
{
    m_reader = std::make_unique<SearchReader>(top, m_pattern, read ? std::move(read) : SearchFolderRead(readFolder),
                                              [this] { m_host.readReady(); });
    m_reader->restart(m_pending, m_seen, m_host.includeSubfolders());
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

SearchWalk::Step SearchWalk::step()
{
    while (!m_over) {
        Outcome outcome = Outcome::Next;
        if (m_read) {
            outcome = listFolder();
            // Each folder after the first is begun after a yield.
            if (outcome == Outcome::Next && !m_pending.isEmpty() && m_host.sliceOver())
                outcome = Outcome::Yield;
        } else if (m_folder) {
            outcome = takeRead();
        } else if (m_pending.isEmpty()) {
            m_over = true;
        } else {
            m_folder = m_pending.takeLast();
        }
        switch (outcome) {
        case Outcome::Next:
            break;
        case Outcome::Yield:
            return Step::Yield;
        case Outcome::Wait:
            return Step::Wait;
        case Outcome::Stop:
            m_over = true;
            break;
        }
    }
    return Step::Done;
}

SearchWalk::Outcome SearchWalk::takeRead()
{
    for (;;) {
        if (std::optional<FolderRead> next = m_reader->take()) {
            if (next->folder == m_folder->path) {
                m_read = std::move(next);
                m_folder.reset();
                m_nextFile = -1;
                return Outcome::Next;
            }
        } else if (!m_reader->finished()) {
            return m_host.stopRequested() ? Outcome::Stop : Outcome::Wait;
        }
        // The reader went another way: it starts again here.
        m_reader->restart(QList<DescentFolder>(m_pending) << *m_folder, m_seen, m_host.includeSubfolders());
    }
}

void SearchWalk::follow(const FolderRead &read, bool wentDeeper)
{
    const bool includeSubfolders = m_host.includeSubfolders();
    if (read.descended != wentDeeper && !read.entries.folders.isEmpty())
        m_reader->restart(m_pending, m_seen, includeSubfolders);
    else
        m_reader->setSubfolders(includeSubfolders);
}

void SearchWalk::folderDone()
{
    m_reader->giveBack(std::move(*m_read));
    m_read.reset();
}

SearchWalk::Outcome SearchWalk::listFolder()
{
    const FolderRead &read = *m_read;
    const QString &folder = read.folder;
    const FolderReader::FolderEntries &entries = read.entries;
    if (m_nextFile < 0) {
        // A folder met again through a second mount was searched already.
        if (entries.opened && !entries.read) {
            folderDone();
            return Outcome::Next;
        }
        if (entries.read)
            m_seen.insert({entries.id.device, entries.id.inode});
        m_host.aboutToFind(entries.files.size());
        m_nextFile = 0;
    }

    while (m_nextFile < entries.files.size()) {
        if (m_host.stopRequested())
            return Outcome::Stop;
        ++m_counts.files;
        m_host.found(PathHelper::join(folder, entries.files.at(m_nextFile++)));
        if (m_host.closed()) {
            // The window closed under the walk: no folder is entered from here on.
            m_host.closeSeen();
            follow(read, false);
            folderDone();
            return Outcome::Next;
        }
        if (m_host.sliceOver())
            return Outcome::Yield;
    }

    if (!m_host.includeSubfolders()) {
        follow(read, false);
        folderDone();
        return Outcome::Next;
    }
    if (m_host.stopRequested())
        return Outcome::Stop;
    m_host.entering(folder);
    ++m_counts.folders;
    const QList<DescentFolder> subfolders = read.descended ? read.subfolders : subfoldersOf(read);
    for (auto sub = subfolders.crbegin(); sub != subfolders.crend(); ++sub)
        m_pending.append(*sub);
    follow(read, true);
    folderDone();
    return Outcome::Next;
}
