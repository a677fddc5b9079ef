#include "search/SearchReader.h"

#include "platform/PathHelper.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

namespace {
qsizetype namesIn(const FolderRead &read)
{
    return read.entries.files.size() + read.entries.folders.size();
}
} // namespace

QList<DescentFolder> subfoldersOf(const FolderRead &read)
{
    const FolderReader::FolderEntries &entries = read.entries;
    QList<DescentFolder> subfolders;
    subfolders.reserve(entries.folders.size());
    for (qsizetype i = 0; i < entries.folders.size(); ++i)
        subfolders.append(DescentFolder{PathHelper::join(read.folder, entries.folders.at(i)), entries.folderIds.at(i)});
    return subfolders;
}

// Calls the reader's ready when a wake-up event comes.
class SearchReader::Wake : public QObject
{
public:
    explicit Wake(std::function<void()> ready) : m_ready(std::move(ready)) {}

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (m_ready)
            m_ready();
        return true;
    }

private:
    std::function<void()> m_ready;
};

struct SearchReader::State
{
    State(const QString &top, const NamePattern &pattern, SearchFolderRead read, const SearchReadAhead &bounds)
        : pattern(pattern), read(std::move(read)), descent(top), maxFolders(bounds.folders), maxNames(bounds.names),
          // A reader that ran out of room goes on once the walk has taken a quarter of what it
          // read ahead: not woken for every read, and back at work long before the walk runs
          // dry (on a busy machine a woken thread may wait milliseconds for a processor).
          resumeFolders(bounds.folders * 3 / 4), resumeNames(bounds.names * 3 / 4)
    {
    }

    bool hasRoom() const { return ready.size() < maxFolders && readyNames < maxNames; }
    bool hasRoomToResume() const { return ready.size() <= resumeFolders && readyNames <= resumeNames; }
    // Posts the armed wake-up, if any. Called with the mutex held, so that the window cannot
    // destroy the receiver meanwhile.
    void wakeLocked()
    {
        if (wake) {
            QCoreApplication::postEvent(wake, new QEvent(QEvent::User));
            wake = nullptr;
        }
    }

    // Set once, read on the reader's thread only.
    const NamePattern pattern;
    const SearchFolderRead read;
    // Used on the reader's thread only.
    FolderDescent descent;
    const size_t maxFolders;
    const qsizetype maxNames;
    const size_t resumeFolders;
    const qsizetype resumeNames;
    std::atomic<bool> subfolders{false};

    std::mutex mutex;
    // The reader waits here for room, a restart or the end.
    std::condition_variable changed;
    // The rest is guarded by the mutex (readyCount is also read without it).
    bool abandoned = false;
    quint64 generation = 0;
    QList<DescentFolder> restartPending;
    SeenFolders restartSeen;
    std::deque<FolderRead> ready;
    std::vector<FolderRead> spent;
    qsizetype readyNames = 0;
    bool finished = false;
    // The reader waits for room.
    bool full = false;
    QObject *wake = nullptr;
    // How many reads are ready, for a look without the lock while the walk waits.
    std::atomic<size_t> readyCount{0};
};

SearchReader::SearchReader(const QString &top, const NamePattern &pattern, SearchFolderRead read,
                           std::function<void()> ready, const SearchReadAhead &bounds)
    : m_state(std::make_shared<State>(top, pattern, std::move(read), bounds)),
      m_wake(std::make_unique<Wake>(std::move(ready)))
{
    std::thread(readAhead, m_state).detach();
}

SearchReader::~SearchReader()
{
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->abandoned = true;
        m_state->wake = nullptr;
    }
    m_state->changed.notify_all();
}

void SearchReader::restart(const QList<DescentFolder> &pending, const SeenFolders &seen, bool subfolders)
{
    {
        const std::lock_guard lock(m_state->mutex);
        ++m_state->generation;
        m_state->restartPending = pending;
        m_state->restartSeen = seen;
        m_state->ready.clear();
        m_state->readyCount = 0;
        m_state->readyNames = 0;
        // Nothing to read is a walk read to its end.
        m_state->finished = pending.isEmpty();
        m_state->subfolders = subfolders;
        // A wake-up armed for the reads dropped here would come for nothing.
        m_state->wake = nullptr;
        m_wakeArmed = false;
    }
    m_state->changed.notify_all();
}

void SearchReader::setSubfolders(bool subfolders)
{
    m_state->subfolders.store(subfolders, std::memory_order_relaxed);
}

std::optional<FolderRead> SearchReader::take()
{
    State &s = *m_state;
    // The walk may ask often while it waits: with the wake-up armed, nothing has come while
    // none is counted, and no lock is needed to see that.
    if (m_wakeArmed && s.readyCount.load(std::memory_order_acquire) == 0)
        return std::nullopt;
    const std::lock_guard lock(s.mutex);
    m_wakeArmed = false;
    if (s.ready.empty()) {
        if (!s.finished) {
            s.wake = m_wake.get();
            m_wakeArmed = true;
        }
        return std::nullopt;
    }
    FolderRead read = std::move(s.ready.front());
    s.ready.pop_front();
    s.readyCount.store(s.ready.size(), std::memory_order_release);
    s.readyNames -= namesIn(read);
    if (s.full && s.hasRoomToResume()) {
        s.full = false;
        s.changed.notify_all();
    }
    return read;
}

void SearchReader::giveBack(FolderRead &&read)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->spent.push_back(std::move(read));
}

bool SearchReader::finished() const
{
    // Armed only while reads were still to come; one that came since is not taken yet.
    if (m_wakeArmed)
        return false;
    const std::lock_guard lock(m_state->mutex);
    return m_state->finished && m_state->ready.empty();
}

void SearchReader::readAhead(std::shared_ptr<State> state)
{
    State &s = *state;
    quint64 generation = 0;
    QList<DescentFolder> pending;
    SeenFolders seen;
    std::vector<FolderRead> spent;
    for (;;) {
        // Freed here, outside the lock.
        spent.clear();
        DescentFolder folder;
        {
            std::unique_lock lock(s.mutex);
            spent.swap(s.spent);
            s.full = !s.hasRoom();
            s.changed.wait(lock, [&] {
                return s.abandoned || s.generation != generation || (!pending.isEmpty() && !s.full);
            });
            if (s.abandoned) {
                // What was given back meanwhile goes with this thread too.
                std::move(s.spent.begin(), s.spent.end(), std::back_inserter(spent));
                s.spent.clear();
                return;
            }
            if (s.generation != generation) {
                generation = s.generation;
                pending = std::exchange(s.restartPending, QList<DescentFolder>());
                seen = std::exchange(s.restartSeen, SeenFolders());
                continue;
            }
            folder = pending.takeLast();
        }

        // The read itself holds no lock: it may take long, or never return.
        FolderRead read{folder.path,
                        s.read(s.descent, folder, s.pattern,
                               [&seen](const FolderReader::FolderId &id) {
                                   return seen.insert({id.device, id.inode}).second;
                               }),
                        s.subfolders.load(std::memory_order_relaxed), QList<DescentFolder>()};
        if (read.descended && read.entries.read) {
            read.subfolders = subfoldersOf(read);
            // The first subfolder is read next.
            for (auto sub = read.subfolders.crbegin(); sub != read.subfolders.crend(); ++sub)
                pending.append(*sub);
        }

        const std::lock_guard lock(s.mutex);
        if (s.abandoned)
            return;
        if (s.generation != generation)
            continue; // restarted during the read: this one is not wanted
        s.readyNames += namesIn(read);
        s.ready.push_back(std::move(read));
        s.readyCount.store(s.ready.size(), std::memory_order_release);
        s.finished = pending.isEmpty();
        s.wakeLocked();
    }
}
