#include "search/SearchReader.h"

#include "platform/PathHelper.h"

#include <QCoreApplication>
#include <QEvent>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {
// How far the reader may run ahead of the walk: folders, and names in them (a single larger
// folder is read all the same).
constexpr size_t maxReadyFolders = 64;
constexpr qsizetype maxReadyNames = 256 * 1024;

qsizetype namesIn(const FolderRead &read)
{
    return read.entries.files.size() + read.entries.folders.size();
}
} // namespace

struct SearchReader::State
{
    State(const NamePattern &pattern, SearchFolderRead read) : pattern(pattern), read(std::move(read)) {}

    bool hasRoom() const { return ready.size() < maxReadyFolders && readyNames < maxReadyNames; }
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
    // The rest is guarded by the mutex.
    bool abandoned = false;
    quint64 generation = 0;
    QStringList restartPending;
    SeenFolders restartSeen;
    std::deque<FolderRead> ready;
    qsizetype readyNames = 0;
    bool finished = false;
    QObject *wake = nullptr;
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
    const std::lock_guard lock(m_state->mutex);
    if (m_state->ready.empty()) {
        if (!m_state->finished)
            m_state->wake = &m_wake;
        return std::nullopt;
    }
    FolderRead read = std::move(m_state->ready.front());
    m_state->ready.pop_front();
    m_state->readyNames -= namesIn(read);
    m_state->changed.notify_all();
    return read;
}

bool SearchReader::finished() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->finished && m_state->ready.empty();
}

void SearchReader::readAhead(std::shared_ptr<State> state)
{
    State &s = *state;
    quint64 generation = 0;
    QStringList pending;
    SeenFolders seen;
    for (;;) {
        QString folder;
        {
            std::unique_lock lock(s.mutex);
            s.changed.wait(lock, [&] {
                return s.abandoned || s.generation != generation || (!pending.isEmpty() && s.hasRoom());
            });
            if (s.abandoned)
                return;
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
                        s.subfolders.load(std::memory_order_relaxed)};
        const QStringList &subfolders = read.entries.folders;
        if (read.descended && read.entries.read) {
            // The first subfolder is read next.
            for (auto name = subfolders.crbegin(); name != subfolders.crend(); ++name)
                pending.append(PathHelper::join(folder, *name));
        }

        const std::lock_guard lock(s.mutex);
        if (s.abandoned)
            return;
        if (s.generation != generation)
            continue; // restarted during the read: this one is not wanted
        s.readyNames += namesIn(read);
        s.ready.push_back(std::move(read));
        s.finished = pending.isEmpty();
        s.wakeLocked();
    }
}
