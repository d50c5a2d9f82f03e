#include "clock.h"


QDateTime WallClock(const QDateTime& local)
{
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

QDateTime SystemClock::now() const
{
    return WallClock(QDateTime::currentDateTime());
}
