#pragma once

#include <QObject>

#include <functional>

class ReminderDisplay;

// When the program ends: with its main window, unless a reminder window is
// still open; then with that window. The application's own rule (end with
// the last visible window) would end it while the main window sits hidden
// in the notification area, so the program quits through here instead.
class ProgramLifetime final : public QObject
{
    Q_OBJECT

public:
    ProgramLifetime(ReminderDisplay& reminder, std::function<void()> quit, QObject* parent = nullptr);

    void mainWindowClosed();

private:
    void reminderClosed();

    ReminderDisplay& m_reminder;
    std::function<void()> m_quit;
    bool m_mainWindowClosed = false;
};
