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
// How far the reader may run ahead of the walk: folders, and names in them (a single larger
// folder is read all the same).
constexpr size_t maxReadyFolders = 1024;
constexpr qsizetype maxReadyNames = 512 * 1024;
// A reader that ran out of room goes on once the walk has taken a quarter of what it read
// ahead: not woken for every read, and back at work long before the walk runs dry (on a busy
// machine a woken thread may wait milliseconds for a processor).
constexpr size_t resumeReadyFolders = maxReadyFolders * 3 / 4;
constexpr qsizetype resumeReadyNames = maxReadyNames * 3 / 4;

qsizetype namesIn(const FolderRead &read)
{
    return read.entries.files.size() + read.entries.folders.size();
}
} // namespace

struct SearchReader::State
{
    State(const NamePattern &pattern, SearchFolderRead read) : pattern(pattern), read(std::move(read)) {}

    bool hasRoom() const { return ready.size() < maxReadyFolders && readyNames < maxReadyNames; }
    bool hasRoomToResume() const { return ready.size() <= resumeReadyFolders && readyNames <= resumeReadyNames; }
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
    std::atomic<bool> subfolders{false};

    std::mutex mutex;
    // The reader waits here for room, a restart or the end.
    std::condition_variable changed;
    // The rest is guarded by the mutex (readyCount is also read without it).
    bool abandoned = false;
    quint64 generation = 0;
    QStringList restartPending;
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

SearchReader::SearchReader(const NamePattern &pattern, SearchFolderRead read)
    : m_state(std::make_shared<State>(pattern, std::move(read)))
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

void SearchReader::restart(const QStringList &pending, const SeenFolders &seen, bool subfolders)
{
    {
        const std::lock_guard lock(m_state->mutex);
        ++m_state->generation;
        m_state->restartPending = pending;
        m_state->restartSeen = seen;
        m_state->ready.clear();
        m_state->readyCount = 0;
        m_state->readyNames = 0;
        m_state->finished = false;
        m_state->subfolders = subfolders;
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
            s.wake = &m_wake;
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
    QStringList pending;
    SeenFolders seen;
    std::vector<FolderRead> spent;
    for (;;) {
        // Freed here, outside the lock.
        spent.clear();
        QString folder;
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
                pending = std::exchange(s.restartPending, QStringList());
                seen = std::exchange(s.restartSeen, SeenFolders());
                continue;
            }
            folder = pending.takeLast();
        }

        // The read itself holds no lock: it may take long, or never return.
        FolderRead read{folder,
                        s.read(folder, s.pattern,
                               [&seen](const FolderReader::FolderId &id) {
                                   return seen.insert({id.device, id.inode}).second;
                               }),
                        s.subfolders.load(std::memory_order_relaxed), QStringList()};
        if (read.descended && read.entries.read) {
            read.subfolderPaths.reserve(read.entries.folders.size());
            for (const QString &name : read.entries.folders)
                read.subfolderPaths.append(PathHelper::join(folder, name));
            // The first subfolder is read next.
            for (auto path = read.subfolderPaths.crbegin(); path != read.subfolderPaths.crend(); ++path)
                pending.append(*path);
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
