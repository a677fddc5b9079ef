#include "platform/EventWaits.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace EventWaits {

void yieldOnce()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool timedWait(int ms, const QObject *guard)
{
    QEventLoop loop;
    bool elapsed = false;
    QTimer timer;
    timer.setSingleShot(true);
    // A coarse timer may fire up to 5% early; the waits are measured as elapsed time.
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        elapsed = true;
        loop.quit();
    });
    QMetaObject::Connection guardConnection;
    if (guard)
        guardConnection = QObject::connect(guard, &QObject::destroyed, &loop, &QEventLoop::quit);
    timer.start(ms);
    // A loop started while the program is ending returns at once, which ends the wait too.
    loop.exec();
    if (guardConnection)
        QObject::disconnect(guardConnection);
    return elapsed;
}

} // namespace EventWaits

TimeSliceYield::TimeSliceYield(int sliceMs) : m_sliceMs(sliceMs) {}

namespace {
long long nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

void TimeSliceYield::maybeYield()
{
    if (isDue())
        yieldNow();
}

bool TimeSliceYield::isDue() const
{
    return isDue(m_sliceMs);
}

bool TimeSliceYield::isDue(int sliceMs) const
{
    const int slice = std::min(sliceMs, m_sliceMs);
    return slice <= 0 || nowNs() - m_lastYieldNs >= slice * 1'000'000LL;
}

void TimeSliceYield::yieldNow()
{
    // Slices run from the start of one yield to the next, so the time the events take
    // (a repaint, say) is part of the slice and the loop still answers every slice.
    m_lastYieldNs = nowNs();
    EventWaits::yieldOnce();
}
