#pragma once

#include <QElapsedTimer>
#include <QTimer>

// The longest time the event loop went without running a zero-interval timer: how long the
// window could not answer an event. Also the longest such stretch in the thread's own processor
// time, which leaves out the time the system gave to other programs (on a busy machine the
// difference is theirs). The timer runs at every turn of the loop, so it costs processor time
// of its own while the loop would otherwise wait.
class GapWatch
{
public:
    GapWatch();
    void stop() { tick(); }
    double longestMs() const { return double(m_longestNs) / 1e6; }
    double longestCpuMs() const { return double(m_longestCpuNs) / 1e6; }

private:
    void tick();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
    qint64 m_lastCpuNs = 0;
    qint64 m_longestCpuNs = 0;
};
