#include "clock.h"

#include "date_time_text.h"

qint64 Clock::nowMinute() const
{
    return MinuteNumber(now());
}

qint64 SystemClock::wallClockMs() const
{
    const qint64 utcMs = QDateTime::currentMSecsSinceEpoch();
    const qint64 minute = utcMs >= 0 ? utcMs / 60000 : (utcMs - 59999) / 60000;
    if (minute != m_offsetMinute) {
        m_offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utcMs).offsetFromUtc()) * 1000;
        m_offsetMinute = minute;
    }
    return utcMs + m_offsetMs;
}

QDateTime SystemClock::now() const
{
    return QDateTime::fromMSecsSinceEpoch(wallClockMs(), Qt::UTC);
}

qint64 SystemClock::nowMinute() const
{
    return MinuteNumberOfWallClockMs(wallClockMs());
}
