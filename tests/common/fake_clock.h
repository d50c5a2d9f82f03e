#pragma once

#include "clock.h"

// A clock that shows whatever the test sets; advance() moves it on.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(10, 15, 42), Qt::UTC))
        : m_now(std::move(now))
    {
    }

    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
