#include "textbox/TextLoadJob.h"

#include "textbox/TextScan.h"
#include "platform/FileReader.h"

#include <QCoreApplication>

#include <system_error>
#include <thread>
#include <utility>

std::shared_ptr<TextLoadJob> TextLoadJob::start(std::shared_ptr<FileReader> reader, const QString &path,
                                                TextLoadLimits limits)
{
    std::shared_ptr<TextLoadJob> job(new TextLoadJob(limits));
    // The thread holds the job and the reader, so both outlive a window that stopped waiting.
    try {
        std::thread([job, reader = std::move(reader), path] { job->run(*reader, path); }).detach();
    } catch (const std::system_error &) {
        // No thread to be had: the file cannot be read now.
        job->finish(TextLoadOutcome::Unreadable);
    }
    return job;
}

TextLoadJob::TextLoadJob(TextLoadLimits limits) : m_limits(limits) {}

TextLoadJob::~TextLoadJob() = default;

void TextLoadJob::onDone(std::function<void()> done)
{
    const std::lock_guard lock(m_mutex);
    m_done = std::move(done);
    if (m_done && m_workerDone)
        postDone();
}

void TextLoadJob::postDone()
{
    // The application object lives as long as any window that waits; the job may not.
    QCoreApplication *application = QCoreApplication::instance();
    if (!application)
        return;
    QMetaObject::invokeMethod(
        application,
        [weak = weak_from_this()] {
            const std::shared_ptr<TextLoadJob> job = weak.lock();
            if (!job)
                return;
            std::function<void()> done;
            {
                const std::lock_guard lock(job->m_mutex);
                done = std::exchange(job->m_done, nullptr);
            }
            if (done)
                done();
        },
        Qt::QueuedConnection);
}

TextLoadOutcome TextLoadJob::outcome() const
{
    const std::lock_guard lock(m_mutex);
    return m_outcome;
}

std::optional<TextLines::Read> TextLoadJob::take()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_read, std::nullopt);
}

int TextLoadJob::percentRead() const
{
    const qint64 total = m_fileBytes;
    return total > 0 ? int(std::min<qint64>(100, m_bytesRead * 100 / total)) : 0;
}

void TextLoadJob::stop()
{
    const std::lock_guard lock(m_mutex);
    m_stop = true;
    m_done = nullptr;
}

std::optional<FileStamp> TextLoadJob::stamp() const
{
    const std::lock_guard lock(m_mutex);
    return m_stamp;
}

int TextLoadJob::error() const
{
    const std::lock_guard lock(m_mutex);
    return m_error;
}

void TextLoadJob::run(FileReader &files, const QString &path)
{
    // Before the read: a change after it shows at the save, also one made while it reads.
    const std::optional<FileStamp> stamp = FileStamp::of(path);
    {
        const std::lock_guard lock(m_mutex);
        m_stamp = stamp;
    }
    m_fileBytes = files.length(path);
    QByteArray bytes;
    // Room for the whole file at once, so the buffer is not copied as it grows.
    if (m_fileBytes > 0 && m_fileBytes <= m_limits.maxBytes)
        bytes.reserve(qsizetype(m_fileBytes));
    TextScan scan;
    const FileContents contents = files.readFileInPieces(path, m_limits.maxBytes, [&](QByteArrayView piece) {
        if (m_stop)
            return false;
        // Lines are counted as the bytes come, so a file of line ends is not read past the limit.
        scan.add(piece);
        if (scan.lineCount() > m_limits.maxLines)
            return false;
        bytes.append(piece);
        m_bytesRead += piece.size();
        return true;
    });
    // The whole file seen: the encoding, and so which count of lines is the file's.
    const TextEncoding encoding = scan.encoding();
    if (m_stop)
        finish(TextLoadOutcome::Stopped);
    else if (contents.tooLarge || scan.lineCount() > m_limits.maxLines)
        finish(TextLoadOutcome::TooLarge);
    else if (contents.error != 0)
        finish(TextLoadOutcome::Unreadable, std::nullopt, contents.error);
    else
        finish(TextLoadOutcome::Loaded, TextLines::fromBytes(std::move(bytes), encoding, scan.lineCount()));
}

void TextLoadJob::finish(TextLoadOutcome outcome, std::optional<TextLines::Read> read, int error)
{
    const std::lock_guard lock(m_mutex);
    m_outcome = m_stop ? TextLoadOutcome::Stopped : outcome;
    m_error = error;
    if (m_outcome == TextLoadOutcome::Loaded)
        m_read = std::move(read);
    m_workerDone = true;
    if (m_done)
        postDone();
}
