#pragma once

#include <QString>

// Everything a firing alarm does to the world outside the alarm list. The
// program wires it to the real sound, reminder window, browser and power-off;
// tests record the calls.
class AlarmOutputs
{
public:
    virtual ~AlarmOutputs() = default;

    virtual void playSound() = 0;
    // Shows the one reminder window; text is the fired line's reminder text
    // (empty keeps the window's own greeting). An open window stays as it is.
    virtual void showReminder(const QString& text) = 0;
    virtual void openUrl(const QString& address) = 0;
    // Asks the system to power off; nothing fires any more, and the program
    // ends without the main window's closing steps once the request has
    // been answered.
    virtual void powerOff() = 0;
    // The list has become empty: the advertisement panel covers it again.
    virtual void showAdPanel() = 0;
};
