#pragma once

#include <QObject>
#include <QTimer>

// The main window's two timers: the scan every 3000 ms and the clock label
// every 1000 ms. The scan runs from construction until the object goes away;
// the clock only while someone can see it.
class ClockTicks final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kScanIntervalMs = 3000;
    static constexpr int kClockIntervalMs = 1000;

    explicit ClockTicks(QObject* parent = nullptr);

    void setClockRunning(bool running);
    bool clockRunning() const { return m_clockTimer.isActive(); }

Q_SIGNALS:
    void scanDue();
    void clockDue();

private:
    QTimer m_scanTimer;
    QTimer m_clockTimer;
};
