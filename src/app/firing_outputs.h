#pragma once

#include "alarm_outputs.h"

#include <functional>

class AlarmBook;
class AlarmSound;
class PowerOff;
class ReminderDisplay;
class UrlOpener;

// What a fired alarm does, wired to the program's sound, reminder window,
// browser and power-off, and to the main window's list and panel.
class FiringOutputs final : public AlarmOutputs
{
public:
    struct Parts
    {
        AlarmSound& sound;
        ReminderDisplay& reminder;
        UrlOpener& browser;
        PowerOff& powerOff;
        AlarmBook& book;
        // A power-off has been asked for: no more scans.
        std::function<void()> stopScanning;
        // Ends the program without the main window's closing steps.
        std::function<void()> endProgram;
    };

    explicit FiringOutputs(Parts parts);

    void playSound() override;
    void showReminder(const QString& text) override;
    void openUrl(const QString& address) override;
    // The list on disk is brought up to date first: the program ends right
    // after the request, and the power-off alarm must not come back.
    void powerOff() override;
    void showAdPanel() override;

private:
    Parts m_parts;
};
