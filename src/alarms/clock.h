#pragma once

#include <QDateTime>

#include <limits>

// Where the program reads the present time. Everything that depends on the
// time of day takes a Clock, so tests can set the time they need.
//
// A reading is a wall-clock value: the local date and time as the user's
// clock shows them, carried in a QDateTime marked as UTC so that no
// time-zone or daylight-saving rule ever shifts it during arithmetic.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // The present minute as MinuteNumber counts it; the scan reads it for
    // every line, so a clock may answer it more cheaply than now().
    virtual qint64 nowMinute() const;
};

class SystemClock final : public Clock
{
public:
    // Cheap enough to read once per alarm line: the zone's offset is looked
    // up once a minute (offsets only ever change on a minute boundary), not
    // at every reading.
    QDateTime now() const override;
    qint64 nowMinute() const override;

private:
    qint64 wallClockMs() const;

    mutable qint64 m_offsetMinute = std::numeric_limits<qint64>::min();
    mutable qint64 m_offsetMs = 0;
};

