#include "GapWatch.h"

#include "BenchTools.h"

#include <algorithm>

GapWatch::GapWatch()
{
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    m_timer.start();
    m_clock.start();
    m_lastCpuNs = BenchTools::threadCpuNs();
}

void GapWatch::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    const qint64 cpu = BenchTools::threadCpuNs();
    m_longestNs = std::max(m_longestNs, now - m_lastNs);
    m_longestCpuNs = std::max(m_longestCpuNs, cpu - m_lastCpuNs);
    m_lastNs = now;
    m_lastCpuNs = cpu;
}
