#pragma once

#include "alarm_book.h"
#include "alarm_file.h"
#include "alarm_scanner.h"
#include "firing_outputs.h"
#include "options.h"
#include "site_addresses.h"

#include <QObject>

#include <functional>

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

// One run of the alarm clock without its window: the alarm list and its
// file, the options, the scan every few seconds and what a fired alarm
// does. The main window shows it and passes the user's choices on; tests
// drive it directly with fakes for everything outside.
class AlarmSession final : public QObject
{
    Q_OBJECT

public:
    // What the session works with. The program passes the real clock,
    // sound, browser and so on; tests pass fakes and temporary files.
    struct Parts
    {
        const Clock& clock;
        const DateTimeText& dateTimeText;
        QSettings& settings;
        AlarmFileLocation alarmFile;
        ClockTicks& ticks;
        AlarmSound& sound;
        ReminderDisplay& reminder;
        UrlOpener& browser;
        PowerOff& powerOff;
        AutoStart& autoStart;
        SaveFailureNotice& saveFailure;
        // Ends the program at once, skipping the closing steps.
        std::function<void()> endProgram;
    };

    explicit AlarmSession(Parts parts, QObject* parent = nullptr);

    AlarmBook& book() { return m_book; }
    const SiteAddresses& sites() const { return m_sites; }
    const Clock& clock() const { return m_parts.clock; }
    const DateTimeText& dateTimeText() const { return m_parts.dateTimeText; }

    Options::Restored restoreOptions() const { return m_options.load(); }
    // The start-up read of the alarm file; the first scan follows
    // separately, once the window has filled its lists.
    void load(bool clearExpired);
    // Fires what is due; nothing once the session is over.
    void scan();

    // Written as the user changes them; nothing while the window restores
    // them at start-up.
    void optionsChanged(const QString& advance, int clear, int autoRun);
    void setRestoring(bool restoring) { m_restoring = restoring; }
    void setAutoStart(bool on);
    void openForum();

    // The closing steps: the alarm file and the options are written, and
    // the clock stops scanning. Runs once.
    void unload(const QString& advance, int clear, int autoRun);
    bool isOver() const { return m_unloaded || m_poweringOff; }

private:
    Parts m_parts;
    SiteAddresses m_sites;
    Options m_options;
    AlarmBook m_book;
    FiringOutputs m_outputs;
    AlarmScanner m_scanner;
    bool m_restoring = false;
    bool m_unloaded = false;
    // A power-off alarm fired: the program ends once the system answers.
    bool m_poweringOff = false;
};
