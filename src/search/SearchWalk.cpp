#include "search/SearchWalk.h"

#include "panes/FolderReader.h"
#include "platform/PathHelper.h"

SearchWalk::SearchWalk(SearchWalkHost &host, const QString &pattern)
    : m_host(host), m_pattern(pattern, NamePattern::Parts::Whole)
{
}

bool SearchWalk::run(const QString &top)
{
    // Folders still to search, the next one last.
    QStringList pending{top};
    bool first = true;
    while (!pending.isEmpty()) {
        const QString folder = pending.takeLast();
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

SearchWalk::Outcome SearchWalk::searchFolder(const QString &folder, QStringList &pending)
{
    using namespace FolderReader;
    // Only a full path names a folder: a relative one would depend on where the program started.
    const FolderEntries entries = folder.startsWith(QLatin1Char('/'))
        ? FolderReader::entries(folder, m_pattern, DotNames::List,
                                [this](const FolderId &id) { return m_seen.insert({id.device, id.inode}).second; })
        : FolderEntries();
    // A folder met again through a link or a second mount was searched already.
    if (entries.opened && !entries.read)
        return Outcome::Next;

    for (const QString &name : entries.files) {
        if (m_host.stopRequested())
            return Outcome::Stop;
        ++m_counts.files;
        m_host.found(PathHelper::join(folder, name));
        if (m_host.closed()) {
            // The window closed under the walk: no folder is entered from here on.
            m_host.closeSeen();
            return Outcome::Next;
        }
        if (m_host.yield())
            return Outcome::Ending;
    }

    if (!m_host.includeSubfolders())
        return Outcome::Next;
    if (m_host.stopRequested())
        return Outcome::Stop;
    m_host.entering(folder);
    ++m_counts.folders;
    for (auto name = entries.folders.crbegin(); name != entries.folders.crend(); ++name)
        pending.append(PathHelper::join(folder, *name));
    return Outcome::Next;
}
