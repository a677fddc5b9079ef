#pragma once

#include "editor/TextCodec.h"
#include "editor/TextSlicer.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class FileServices;
class TextScan;

// What a load may cost: a file longer than maxBytes or of more than maxLines lines is refused.
struct TextLoadLimits
{
    qint64 maxBytes = 0;
    qint64 maxLines = 0;
};

// How a load ended.
enum class TextLoadOutcome { Running, Loaded, Unreadable, TooLarge, Stopped };

// One file read into text on a worker thread and handed to the window's thread in slices, so
// the window never waits on the read. The worker first reads every byte (so the encoding and
// the number of lines are known before any text is shown, and a file that is refused shows
// nothing), then turns the bytes into slices, letting each piece go once it is sliced, and
// keeps only a few slices ready ahead of the window.
class TextLoadJob : public std::enable_shared_from_this<TextLoadJob>
{
public:
    // Starts reading path; files must outlive the worker (the program's services do).
    static std::shared_ptr<TextLoadJob> start(FileServices &files, const QString &path, TextLoadLimits limits);
    ~TextLoadJob();
    TextLoadJob(const TextLoadJob &) = delete;
    TextLoadJob &operator=(const TextLoadJob &) = delete;

    // The window's thread. ready runs there whenever a slice is waiting or the load has ended,
    // until stop().
    void onReady(std::function<void()> ready);
    // The next slice, if one is waiting.
    std::optional<TextSlice> takeSlice();
    // Running while the worker goes on or slices are still waiting.
    TextLoadOutcome outcome() const;
    // After Loaded: the file's encoding and line ends.
    TextFormat format() const;
    qint64 fileBytes() const;
    // Nobody waits for the load any more: the worker ends at its next step. Waits for it a
    // short, bounded time; a worker stuck in a read ends on its own later.
    void stop();

private:
    explicit TextLoadJob(TextLoadLimits limits);
    void run(FileServices &files, const QString &path);
    // Every byte of the file into pieces, scanned as they come; Running when it went well.
    TextLoadOutcome read(FileServices &files, const QString &path, std::deque<QByteArray> &pieces, TextScan &scan);
    bool push(TextSlice slice);
    void finish(TextLoadOutcome outcome, const TextFormat &format = TextFormat());
    // Under m_mutex: has the window's thread run ready() soon.
    void wake();

    const TextLoadLimits m_limits;
    std::atomic<bool> m_stop = false;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<TextSlice> m_slices;
    TextLoadOutcome m_workerOutcome = TextLoadOutcome::Running;
    TextFormat m_format;
    qint64 m_fileBytes = 0;
    bool m_wakePosted = false;
    bool m_workerDone = false;
    std::function<void()> m_ready;
};
