#pragma once

#include "textbox/TextCodec.h"
#include "textbox/TextLines.h"
#include "platform/FileStamp.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class FileReader;

// What a load may cost: a file longer than maxBytes or of more than maxLines lines is refused.
struct TextLoadLimits
{
    qint64 maxBytes = 0;
    qint64 maxLines = 0;
};

// How a load ended.
enum class TextLoadOutcome { Running, Loaded, Unreadable, TooLarge, Stopped };

// One file read into lines on a worker thread, so the window never waits on the read. The
// worker reads every byte (the encoding and the number of lines are known before any text is
// shown, and a file that is refused shows nothing) and finds its lines; the window's thread
// then takes them whole. The worker owns what it uses (the job and the reader), so a window
// that goes away meanwhile leaves it nothing destroyed to touch.
class TextLoadJob : public std::enable_shared_from_this<TextLoadJob>
{
public:
    // Starts reading path with reader, which the worker keeps until it ends.
    static std::shared_ptr<TextLoadJob> start(std::shared_ptr<FileReader> reader, const QString &path,
                                              TextLoadLimits limits);
    ~TextLoadJob();
    TextLoadJob(const TextLoadJob &) = delete;
    TextLoadJob &operator=(const TextLoadJob &) = delete;

    // The window's thread. done runs there once the load has ended, unless stop() came first.
    void onDone(std::function<void()> done);
    TextLoadOutcome outcome() const;
    // After Loaded: the file's lines and format, once.
    std::optional<TextLines::Read> take();
    // Once the load has ended: the file as it was just before the read began (nothing when the
    // system could not tell), so that a save can tell whether another program changed it since;
    // and after Unreadable, the file services' error number.
    std::optional<FileStamp> stamp() const;
    int error() const;
    // How far the read has come, in percent of the file's size when it began.
    int percentRead() const;
    // Nobody waits for the load any more: the worker ends at its next step, on its own. Returns
    // at once, also while the worker is stuck in a read.
    void stop();

private:
    explicit TextLoadJob(TextLoadLimits limits);
    void run(FileReader &files, const QString &path);
    void finish(TextLoadOutcome outcome, std::optional<TextLines::Read> read = std::nullopt, int error = 0);
    // Under m_mutex: runs m_done on the window's thread soon.
    void postDone();

    const TextLoadLimits m_limits;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_bytesRead = 0;
    std::atomic<qint64> m_fileBytes = 0;
    mutable std::mutex m_mutex;
    TextLoadOutcome m_outcome = TextLoadOutcome::Running;
    std::optional<TextLines::Read> m_read;
    std::optional<FileStamp> m_stamp;
    int m_error = 0;
    bool m_workerDone = false;
    std::function<void()> m_done;
};
