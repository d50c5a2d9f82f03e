#include "clock_ticks.h"

ClockTicks::ClockTicks(QObject* parent)
    : QObject(parent)
{
    m_scanTimer.setInterval(kScanIntervalMs);
    m_clockTimer.setInterval(kClockIntervalMs);
    connect(&m_scanTimer, &QTimer::timeout, this, &ClockTicks::scanDue);
    connect(&m_clockTimer, &QTimer::timeout, this, &ClockTicks::clockDue);
    m_scanTimer.start();
    m_clockTimer.start();
}

void ClockTicks::setClockRunning(bool running)
{
    if (running)
        m_clockTimer.start();
    else
        m_clockTimer.stop();
}
