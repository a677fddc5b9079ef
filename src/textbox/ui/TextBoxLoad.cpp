#include "textbox/ui/TextBoxLoad.h"

#include "textbox/ui/TextBox.h"

#include <QEventLoop>

namespace {

constexpr int progressMs = 100;

} // namespace

TextBoxLoad::TextBoxLoad(TextBox &box, FileServices &files, const QString &path, TextLoadLimits limits)
    : m_box(&box), m_job(TextLoadJob::start(files, path, limits))
{
    m_progress.setInterval(progressMs);
    connect(&m_progress, &QTimer::timeout, this, [this] {
        const int percent = m_job->percentRead();
        if (percent != m_percent) {
            m_percent = percent;
            Q_EMIT progress(percent);
        }
    });
    m_progress.start();
    m_job->onDone([this] { done(); });
}

TextBoxLoad::~TextBoxLoad()
{
    stop();
}

TextLoadOutcome TextBoxLoad::wait()
{
    if (m_outcome == TextLoadOutcome::Running) {
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
        // The loop also ends when the program does.
        if (m_outcome == TextLoadOutcome::Running)
            stop();
    }
    return m_outcome;
}

void TextBoxLoad::stop()
{
    if (m_outcome == TextLoadOutcome::Running)
        end(TextLoadOutcome::Stopped);
}

void TextBoxLoad::done()
{
    if (m_outcome != TextLoadOutcome::Running)
        return;
    TextLoadOutcome outcome = m_job->outcome();
    if (outcome == TextLoadOutcome::Loaded) {
        std::optional<TextLines::Read> read = m_job->take();
        if (m_box && read) {
            m_format = read->format;
            m_box->setLines(std::move(read->lines));
        } else {
            outcome = TextLoadOutcome::Stopped;
        }
    }
    end(outcome);
}

void TextBoxLoad::end(TextLoadOutcome outcome)
{
    m_outcome = outcome;
    m_progress.stop();
    m_job->stop();
    if (m_loop)
        m_loop->quit();
}
