#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Counts the paints of a view's viewport that begin while the view shows its complete content
// (complete() says when), and waits for the next one. The paint begins after the model holds
// every row, and the wait returns once it has run, so a time taken around setting the content
// and wait() covers filling the model, laying out the rows and drawing the visible ones.
class PaintWatch : public QObject
{
public:
    PaintWatch(QWidget *viewport, std::function<bool()> complete);
    ~PaintWatch() override;

    // Forgets the paints so far.
    void reset() { m_completePaints = 0; }
    int completePaints() const { return m_completePaints; }
    // Runs the event loop until a complete paint has run; false after timeoutMs without one.
    bool wait(int timeoutMs);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_viewport;
    std::function<bool()> m_complete;
    int m_completePaints = 0;
};
