#include "editor/TextLoadJob.h"

#include "editor/TextScan.h"
#include "platform/FileServices.h"

#include <QCoreApplication>

#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Slices of about this many bytes keep each step of the window's thread short. A slice ends at
// a line end, so no line is added to in pieces (the box would lay a long line out again for each
// piece), unless the line is longer than longestSlice characters.
constexpr qsizetype sliceBytes = qsizetype(64) << 10;
constexpr qsizetype longestSlice = qsizetype(4) << 20;
// Slices ready ahead of the window: enough to keep it busy, few enough to cost little memory.
constexpr size_t slicesAhead = 16;
// How long stop() waits for the worker to see it.
constexpr auto stopWait = std::chrono::milliseconds(500);

} // namespace

std::shared_ptr<TextLoadJob> TextLoadJob::start(FileServices &files, const QString &path, TextLoadLimits limits)
{
    std::shared_ptr<TextLoadJob> job(new TextLoadJob(limits));
    // The thread holds the job, so it outlives a window that stopped waiting for it.
    try {
        std::thread([job, &files, path] { job->run(files, path); }).detach();
    } catch (const std::system_error &) {
        // No thread to be had: the file cannot be read now.
        job->finish(TextLoadOutcome::Unreadable);
    }
    return job;
}

TextLoadJob::TextLoadJob(TextLoadLimits limits) : m_limits(limits) {}

TextLoadJob::~TextLoadJob() = default;

void TextLoadJob::onReady(std::function<void()> ready)
{
    const std::lock_guard lock(m_mutex);
    m_ready = std::move(ready);
    if (m_ready && (!m_slices.empty() || m_workerDone))
        wake();
}

std::optional<TextSlice> TextLoadJob::takeSlice()
{
    std::unique_lock lock(m_mutex);
    if (m_slices.empty())
        return std::nullopt;
    TextSlice slice = std::move(m_slices.front());
    m_slices.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return slice;
}

TextLoadOutcome TextLoadJob::outcome() const
{
    const std::lock_guard lock(m_mutex);
    return m_slices.empty() ? m_workerOutcome : TextLoadOutcome::Running;
}

TextFormat TextLoadJob::format() const
{
    const std::lock_guard lock(m_mutex);
    return m_format;
}

qint64 TextLoadJob::fileBytes() const
{
    const std::lock_guard lock(m_mutex);
    return m_fileBytes;
}

void TextLoadJob::stop()
{
    std::unique_lock lock(m_mutex);
    m_stop = true;
    m_ready = nullptr;
    m_changed.notify_all();
    m_changed.wait_for(lock, stopWait, [this] { return m_workerDone; });
}

void TextLoadJob::wake()
{
    if (m_wakePosted || !m_ready)
        return;
    m_wakePosted = true;
    // The application object lives as long as any window that waits; the job may not.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weak = weak_from_this()] {
            const std::shared_ptr<TextLoadJob> job = weak.lock();
            if (!job)
                return;
            std::function<void()> ready;
            {
                const std::lock_guard lock(job->m_mutex);
                job->m_wakePosted = false;
                ready = job->m_ready;
            }
            if (ready)
                ready();
        },
        Qt::QueuedConnection);
}

void TextLoadJob::run(FileServices &files, const QString &path)
{
    std::deque<QByteArray> pieces;
    TextScan scan;
    if (const TextLoadOutcome failed = read(files, path, pieces, scan); failed != TextLoadOutcome::Running) {
        finish(failed);
        return;
    }
    TextSlicer slicer(scan.encoding());
    TextSlice pending;
    // Hands on what is pending once there is a slice's worth: its whole lines, or all of it
    // at the end of the file or when one line is that long.
    const auto handOn = [&](bool last) {
        if (!last && pending.text.size() < sliceBytes)
            return true;
        TextSlice slice = last || pending.text.size() >= longestSlice ? std::exchange(pending, TextSlice())
                                                                       : pending.takeWholeLines();
        return slice.text.isEmpty() || push(std::move(slice));
    };
    bool going = true;
    while (going && !pieces.empty()) {
        const QByteArray piece = std::move(pieces.front());
        pieces.pop_front();
        for (qsizetype from = 0; going && from < piece.size(); from += sliceBytes) {
            pending.append(slicer.add(QByteArrayView(piece).sliced(from, std::min(sliceBytes, piece.size() - from))));
            going = handOn(false);
        }
    }
    if (going) {
        pending.append(slicer.finish());
        going = handOn(true);
    }
    finish(going ? TextLoadOutcome::Loaded : TextLoadOutcome::Stopped, slicer.format());
}

TextLoadOutcome TextLoadJob::read(FileServices &files, const QString &path, std::deque<QByteArray> &pieces,
                                  TextScan &scan)
{
    qint64 bytes = 0;
    const FileContents contents = files.readFileInPieces(path, m_limits.maxBytes, [&](QByteArrayView piece) {
        if (m_stop)
            return false;
        // Lines are counted as the bytes come, so a file of line ends is not read past the limit.
        scan.add(piece);
        if (scan.lineCount() > m_limits.maxLines)
            return false;
        pieces.emplace_back(piece.toByteArray());
        bytes += piece.size();
        return true;
    });
    if (m_stop)
        return TextLoadOutcome::Stopped;
    if (contents.tooLarge || scan.lineCount() > m_limits.maxLines)
        return TextLoadOutcome::TooLarge;
    if (contents.error != 0)
        return TextLoadOutcome::Unreadable;
    const std::lock_guard lock(m_mutex);
    m_fileBytes = bytes;
    return TextLoadOutcome::Running;
}

bool TextLoadJob::push(TextSlice slice)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop || m_slices.size() < slicesAhead; });
    if (m_stop)
        return false;
    m_slices.push_back(std::move(slice));
    wake();
    return true;
}

void TextLoadJob::finish(TextLoadOutcome outcome, const TextFormat &format)
{
    {
        const std::lock_guard lock(m_mutex);
        m_workerOutcome = m_stop ? TextLoadOutcome::Stopped : outcome;
        m_format = format;
        m_workerDone = true;
        wake();
    }
    m_changed.notify_all();
}
