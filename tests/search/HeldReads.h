#pragma once

#include "search/SearchReader.h"
#include "search/SearchWalk.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>

// The walk's reads of a real tree as they happen, in order; the read of every folder named
// held does not return until it is let go, as on a stuck network mount.
class HeldReads
{
public:
    explicit HeldReads(const QString &held = QString()) { m_state->held = held; }
    ~HeldReads() { release(); }
    HeldReads(const HeldReads &) = delete;
    HeldReads &operator=(const HeldReads &) = delete;

    SearchFolderRead read() const
    {
        return [state = m_state](FolderDescent &descent, const DescentFolder &folder, const NamePattern &pattern,
                                 const std::function<bool(const FolderReader::FolderId &)> &enter) {
            {
                std::unique_lock lock(state->mutex);
                state->started.append(folder.path);
                if (!state->held.isEmpty() && folder.path.endsWith(QLatin1Char('/') + state->held))
                    state->changed.wait(lock, [&] { return state->released; });
            }
            return SearchWalk::readFolder(descent, folder, pattern, enter);
        };
    }
    void release()
    {
        {
            const std::lock_guard lock(m_state->mutex);
            m_state->released = true;
        }
        m_state->changed.notify_all();
    }
    // The folders whose read began, in order.
    QStringList started() const
    {
        const std::lock_guard lock(m_state->mutex);
        return m_state->started;
    }
    qsizetype count() const { return started().size(); }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable changed;
        QString held;
        bool released = false;
        QStringList started;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};
