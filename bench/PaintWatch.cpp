#include "PaintWatch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

PaintWatch::PaintWatch(QWidget *viewport, std::function<bool()> complete)
    : m_viewport(viewport)
    , m_complete(std::move(complete))
{
    m_viewport->installEventFilter(this);
}

PaintWatch::~PaintWatch()
{
    m_viewport->removeEventFilter(this);
}

bool PaintWatch::wait(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    // Wakes the loop now and then so the deadline is seen even when nothing else happens;
    // everything on the measured path wakes it by itself.
    QTimer tick;
    tick.start(50);
    while (m_completePaints == 0) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool PaintWatch::eventFilter(QObject *watched, QEvent *event)
{
    // The paint runs right after this returns, before processEvents() gives control back.
    if (watched == m_viewport && event->type() == QEvent::Paint && m_complete())
        ++m_completePaints;
    return false;
}
