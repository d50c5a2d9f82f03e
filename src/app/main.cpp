#include "ad_panel.h"
#include "alarm_file.h"
#include "app_icon.h"
#include "auto_start_factory.h"
#include "browser_launcher.h"
#include "power_off.h"
#include "clock.h"
#include "clock_ticks.h"
#include "date_time_text.h"
#include "alarm_session.h"
#include "main_window.h"
#include "platform_choice.h"
#include "media_alarm_sound.h"
#include "program_layout.h"
#include "program_lifetime.h"
#include "reminder_window_display.h"
#include "reminder_window.h" // complete type for the host's QPointer
#include "reminder_window_host.h"
#include "save_failure_box.h"
#include "single_instance.h"
#include "web_ad_panel_host.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSettings>
#include <QSystemTrayIcon>

int main(int argc, char* argv[])
{
    if (const QByteArray platform = ChoosePlatform(QProcessEnvironment::systemEnvironment()); !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    PrepareAdPanel(argc, argv);
    QApplication app(argc, argv);
    // Settings and the login entry are named after the executable, so a
    // renamed copy keeps settings of its own.
    QCoreApplication::setApplicationName(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    // The installed menu entry, for desktops that match windows to entries.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.neloclock.NeloClock"));
    // The main window may sit hidden in the notification area with no other
    // window open; the program ends when the main window closes instead
    // (ProgramLifetime).
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon());

    const ProgramLayout layout = ProgramLayoutOf(QCoreApplication::applicationDirPath());
    const AlarmFileLocation alarmFile = LocateAlarmFile(layout.programFolder);
    SingleInstance instance(alarmFile.writePath);
    if (!instance.claim())
        return 0;

    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("NeloClock"),
                       QCoreApplication::applicationName());
    const SystemClock clock;
    const DateTimeText dateTimeText;
    ClockTicks ticks;
    MediaAlarmSound sound(AlarmSoundFolders(layout, UserDataFolder()));
    ReminderWindowHost reminderHost;
    ReminderWindowDisplay reminder(reminderHost);
    const std::unique_ptr<UrlOpener> browser = CreateUrlOpener();
    const std::unique_ptr<PowerOff> powerOff = CreatePowerOff();
    const std::unique_ptr<AutoStart> autoStart = CreateAutoStart(QCoreApplication::applicationFilePath());
    WebAdPanelHost adPanel;
    SaveFailureBox saveFailure;
    bool ended = false;

    AlarmSession session({clock, dateTimeText, settings, alarmFile, ticks, sound, reminder, *browser, *powerOff,
                          *autoStart, saveFailure, [&ended] {
                              // After a power-off request: no closing steps,
                              // the alarm file is already up to date.
                              ended = true;
                              QCoreApplication::exit(0);
                          }});
    MainWindow window(session, ticks, adPanel, &QSystemTrayIcon::isSystemTrayAvailable);
    ProgramLifetime lifetime(reminder, [] { QCoreApplication::quit(); });
    QObject::connect(&window, &MainWindow::closed, &lifetime, &ProgramLifetime::mainWindowClosed);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, &MainWindow::bringToFront);

    window.load();
    // The first scan may already have powered the machine off.
    if (ended)
        return 0;
    window.showAtStart();
    return app.exec();
}
