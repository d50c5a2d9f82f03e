#pragma once

#include "reminder_display.h"

class ReminderWindowHost;

// The program's real reminder window behind the main window's view of it.
class ReminderWindowDisplay final : public ReminderDisplay
{
    Q_OBJECT

public:
    explicit ReminderWindowDisplay(ReminderWindowHost& host, QObject* parent = nullptr);

    void show(const QString& text) override;
    bool isOpen() const override;

private:
    ReminderWindowHost& m_host;
};
