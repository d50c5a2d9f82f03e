#pragma once

#include "entry_panel.h"

#include <QWidget>

#include <functional>
#include <memory>

class AdPanelHost;
class AlarmListView;
class AlarmSession;
class ClockTicks;
class GapLabel;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TrayIcon;

// The main window "frmMain": the entry panel on the left, the options below
// it, the alarm list on the right with the advertisement panel over it while
// it is empty, and the forum link at the bottom.
//
// The window builds its controls, reads them into the entry state and shows
// what the session tells it; what the controls mean is decided in EntryPanel
// and AlarmSession.
class MainWindow final : public QWidget
{
    Q_OBJECT

public:
    // trayAvailable: whether the desktop has a notification area now.
    MainWindow(AlarmSession& session, ClockTicks& ticks, AdPanelHost& adPanel, std::function<bool()> trayAvailable,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up: notification-area icon, position, clock, options, alarm
    // file, entry lists, and a first scan so that alarms already due fire
    // before the window first shows.
    void load();
    // Shows the window, unless alarms were loaded: then it starts in the
    // notification area (or minimised, when there is none).
    void showAtStart();
    // Another copy of the program was started: come forward, also from the
    // notification area.
    void bringToFront();

    TrayIcon* trayIcon() const { return m_tray.get(); }

Q_SIGNALS:
    // The closing steps have run; the window is gone for good.
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void placeControls(bool listsFilled);
    void makeRoom();
    void connectControls();
    void centre();
    void restoreOptions();
    void fillEntryLists();

    EntryPanelState panelState() const;
    void recomputeAlarmTime();
    void applyReminderType();
    void addAlarm();
    void clearCorrectedMarks();

    void handleListMouseDown(Qt::MouseButton button, const QPoint& globalPosition);

    void refreshClock();
    void optionsChanged();
    void hideIfMinimised();

    AlarmSession& m_session;
    ClockTicks& m_ticks;
    AdPanelHost& m_adPanelHost;
    std::function<bool()> m_trayAvailable;
    EntryPanel m_entry;
    std::unique_ptr<TrayIcon> m_tray;

    bool m_startsHidden = false;
    bool m_navigated = false;
    bool m_unloaded = false;

    QGroupBox* m_entryFrame = nullptr;
    QLabel* m_clockLabel = nullptr;
    QComboBox* m_hoursList = nullptr;
    QComboBox* m_minutesList = nullptr;
    GapLabel* m_advanceCaption = nullptr;
    QLineEdit* m_advanceMinutes = nullptr;
    QLineEdit* m_alarmTime = nullptr;
    QComboBox* m_reminderType = nullptr;
    QComboBox* m_reminderText = nullptr;
    QComboBox* m_extraAction = nullptr;
    QPushButton* m_addButton = nullptr;
    QGroupBox* m_optionsFrame = nullptr;
    QCheckBox* m_clearExpired = nullptr;
    QCheckBox* m_startAtLogin = nullptr;
    QGroupBox* m_listFrame = nullptr;
    AlarmListView* m_alarmList = nullptr;
    QWidget* m_adPanel = nullptr;
    QLabel* m_forumLink = nullptr;
    QLabel* m_hint = nullptr;
    QMenu* m_listMenu = nullptr;
    QAction* m_deleteOne = nullptr;
    QAction* m_deleteAll = nullptr;
};
