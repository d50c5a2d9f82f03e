#pragma once

#include <QDateTime>

// Where the program reads the present time. Everything that depends on the
// time of day takes a Clock, so tests can set the time they need.
//
// A reading is a wall-clock value: the local date and time as the user's
// clock shows them, carried in a QDateTime with UTC spec so that no
// time-zone or daylight-saving rule ever shifts it during arithmetic.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override;
};

// The wall-clock reading of a date-time: its local date and time of day,
// stripped of any zone.
QDateTime WallClock(const QDateTime& local);
