#include "textbox/ui/TextBoxLoad.h"

#include "textbox/ui/TextBox.h"

namespace {

constexpr int progressMs = 100;

} // namespace

TextBoxLoad::TextBoxLoad(TextBox &box, std::shared_ptr<FileReader> reader, const QString &path,
                         TextLoadLimits limits)
    : m_box(&box), m_job(TextLoadJob::start(std::move(reader), path, limits))
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
    // Nobody is told any more.
    blockSignals(true);
    stop();
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
    Q_EMIT finished(outcome);
}
