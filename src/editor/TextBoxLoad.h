#pragma once

#include "editor/TextLoadJob.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class QEventLoop;
class QPlainTextEdit;
class QTextDocument;

// A file loading into a text box. The worker's slices go into a new document, which the box
// shows from the first slice on, so the first screen appears while the rest still loads; each
// step of the window's thread appends for a few milliseconds and then lets the window paint
// and answer. The document the box showed before stays until the load has succeeded and comes
// back when it does not (the file was refused or could not be read, or the load was stopped).
class TextBoxLoad : public QObject
{
    Q_OBJECT

public:
    TextBoxLoad(QPlainTextEdit &box, FileServices &files, const QString &path, TextLoadLimits limits);
    // Stops the load unless it has ended.
    ~TextBoxLoad() override;

    // Runs the events of the window's thread until the load has ended, then says how.
    TextLoadOutcome wait();
    // Ends the load here: the box gets its earlier document back.
    void stop();
    // After Loaded: the file's encoding and line ends.
    TextFormat format() const { return m_format; }

    // A document for box, set up as the one it shows, with a line end record of its own. It
    // belongs to the box itself: the box deletes a document that belongs to its inner control
    // as soon as it shows another, and a load must be able to give the earlier one back.
    static QTextDocument *newDocument(QPlainTextEdit &box);

Q_SIGNALS:
    // The share of the file in the box, in percent, as it grows.
    void progress(int percent);
    // The box shows document now: the new one, or the earlier one back.
    void documentShown(QTextDocument *document);

private:
    void takeSlices();
    void showNewDocument();
    void end(TextLoadOutcome outcome);

    QPointer<QPlainTextEdit> m_box;
    std::shared_ptr<TextLoadJob> m_job;
    QPointer<QTextDocument> m_new;
    QPointer<QTextDocument> m_old;
    // Runs the steps: a timer, so the window's own events and timers go first.
    QTimer m_step;
    QEventLoop *m_loop = nullptr;
    TextLoadOutcome m_outcome = TextLoadOutcome::Running;
    TextFormat m_format;
    qint64 m_bytesShown = 0;
    int m_percent = -1;
    bool m_shown = false;
};
