#include "editor/TextBoxLoad.h"

#include "editor/LineEndRecord.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>

namespace {

// How long one step of the window's thread appends before the window paints and answers.
constexpr qint64 stepMs = 12;

} // namespace

TextBoxLoad::TextBoxLoad(QPlainTextEdit &box, FileServices &files, const QString &path, TextLoadLimits limits)
    : m_box(&box), m_job(TextLoadJob::start(files, path, limits)), m_new(newDocument(box))
{
    // A load is not an edit to undo.
    m_new->setUndoRedoEnabled(false);
    m_step.setInterval(0);
    connect(&m_step, &QTimer::timeout, this, [this] { takeSlices(); });
    m_job->onReady([this] {
        if (!m_step.isActive())
            m_step.start();
    });
}

QTextDocument *TextBoxLoad::newDocument(QPlainTextEdit &box)
{
    const QTextDocument *shown = box.document();
    auto *document = new QTextDocument(&box);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setDefaultFont(shown->defaultFont());
    document->setDefaultTextOption(shown->defaultTextOption());
    document->setDocumentMargin(shown->documentMargin());
    new LineEndRecord(document);
    return document;
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

void TextBoxLoad::takeSlices()
{
    if (m_outcome != TextLoadOutcome::Running) {
        m_step.stop();
        return;
    }
    LineEndRecord *record = LineEndRecord::of(m_new);
    if (!m_box || !record) {
        end(TextLoadOutcome::Stopped);
        return;
    }
    QElapsedTimer step;
    step.start();
    while (step.elapsed() < stepMs) {
        std::optional<TextSlice> slice = m_job->takeSlice();
        if (!slice)
            break;
        showNewDocument();
        record->append(*slice);
        m_bytesShown += slice->bytes;
        const qint64 total = m_job->fileBytes();
        const int percent = total > 0 ? int(m_bytesShown * 100 / total) : 100;
        if (percent != m_percent) {
            m_percent = percent;
            Q_EMIT progress(percent);
        }
    }
    const TextLoadOutcome outcome = m_job->outcome();
    if (outcome != TextLoadOutcome::Running)
        end(outcome);
    else if (step.elapsed() < stepMs)
        // Nothing more waits: the worker's next slice starts the steps again.
        m_step.stop();
}

void TextBoxLoad::showNewDocument()
{
    if (m_shown || !m_box || !m_new)
        return;
    m_shown = true;
    m_old = m_box->document();
    m_box->setDocument(m_new);
    Q_EMIT documentShown(m_new);
}

void TextBoxLoad::end(TextLoadOutcome outcome)
{
    m_outcome = outcome;
    m_step.stop();
    m_job->stop();
    if (outcome == TextLoadOutcome::Loaded) {
        m_format = m_job->format();
        showNewDocument();
        if (m_new) {
            m_new->setUndoRedoEnabled(true);
            m_new->setModified(false);
        }
        delete m_old.data();
    } else {
        if (m_shown && m_box && m_old) {
            m_box->setDocument(m_old);
            Q_EMIT documentShown(m_old);
        }
        delete m_new.data();
    }
    if (m_loop)
        m_loop->quit();
}
