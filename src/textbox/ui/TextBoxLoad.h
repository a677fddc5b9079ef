#pragma once

#include "textbox/TextLoadJob.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class TextBox;

// A file loading into a text box. The worker reads the file and finds its lines while the
// window paints and answers; the box then takes the lines at once and lays out only what it
// shows. The box keeps its earlier text until the load has succeeded, and keeps it for good
// when it does not (the file was refused or could not be read, or the load was stopped).
// Nothing waits for the load: finished says when it has ended.
class TextBoxLoad : public QObject
{
    Q_OBJECT

public:
    TextBoxLoad(TextBox &box, std::shared_ptr<FileReader> reader, const QString &path, TextLoadLimits limits);
    // Stops the load unless it has ended.
    ~TextBoxLoad() override;

    // Running until the load has ended, then how it ended.
    TextLoadOutcome outcome() const { return m_outcome; }
    // Ends the load here, at once: the box keeps its earlier text.
    void stop();
    // After Loaded: the file's encoding and line ends.
    TextFormat format() const { return m_format; }
    // Once ended: the file as it was when the read began; after Unreadable, why (TextLoadJob).
    std::optional<FileStamp> stamp() const { return m_job->stamp(); }
    int error() const { return m_job->error(); }

Q_SIGNALS:
    // The share of the file read, in percent, as it grows.
    void progress(int percent);
    // The load has ended, the box holding the file's lines when it was Loaded; also when
    // stop() ended it. Sent once.
    void finished(TextLoadOutcome outcome);

private:
    void done();
    void end(TextLoadOutcome outcome);

    QPointer<TextBox> m_box;
    std::shared_ptr<TextLoadJob> m_job;
    // Looks at how far the read has come.
    QTimer m_progress;
    TextLoadOutcome m_outcome = TextLoadOutcome::Running;
    TextFormat m_format;
    int m_percent = -1;
};
