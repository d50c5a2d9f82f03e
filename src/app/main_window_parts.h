#pragma once

#include "alarm_file.h"

#include <QString>

#include <functional>

class AdPanelHost;
class AlarmSound;
class AutoStart;
class Clock;
class ClockTicks;
class DateTimeText;
class PowerOff;
class QSettings;
class ReminderDisplay;
class SaveFailureNotice;
class UrlOpener;

// What the main window works with. The program passes the real clock, sound,
// browser and so on; tests pass fakes, a temporary program folder and a
// temporary settings store.
struct MainWindowParts
{
    const Clock& clock;
    const DateTimeText& dateTimeText;
    QSettings& settings;
    // Where alarm.ini is read and written.
    AlarmFileLocation alarmFile;
    ClockTicks& ticks;
    AlarmSound& sound;
    ReminderDisplay& reminder;
    UrlOpener& browser;
    PowerOff& powerOff;
    AutoStart& autoStart;
    AdPanelHost& adPanel;
    SaveFailureNotice& saveFailure;
    // Whether the desktop has a notification area now.
    std::function<bool()> trayAvailable;
    // Ends the program at once, skipping the closing steps.
    std::function<void()> endProgram;
};
