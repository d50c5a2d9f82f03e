#pragma once

#include "alarm_book.h"
#include "alarm_scanner.h"
#include "entry_panel.h"
#include "firing_outputs.h"
#include "main_window_parts.h"
#include "options.h"
#include "site_addresses.h"

#include <QWidget>

#include <memory>

class AlarmListView;
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
// The window only moves texts between its controls and the logic classes
// (EntryPanel, AlarmBook, AlarmScanner); what the controls mean is decided
// there.
class MainWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowParts parts, QWidget* parent = nullptr);
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

    AlarmBook& book() { return m_book; }
    TrayIcon* trayIcon() const { return m_tray.get(); }

Q_SIGNALS:
    // The closing steps have run; the window is gone for good.
    void closed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
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
    void deleteSelectedAlarm();
    void deleteAllAlarms();

    void refreshClock();
    void scanAlarms();
    void saveOptions();
    void autoStartToggled(bool checked);
    void hideIfMinimised();
    void unload();
    void endProgram();

    MainWindowParts m_parts;
    SiteAddresses m_sites;
    Options m_options;
    EntryPanel m_entry;
    AlarmBook m_book;
    FiringOutputs m_outputs;
    AlarmScanner m_scanner;
    std::unique_ptr<TrayIcon> m_tray;

    bool m_loading = false;
    bool m_startsHidden = false;
    bool m_navigated = false;
    bool m_unloaded = false;
    bool m_ended = false;

    QGroupBox* m_frame1 = nullptr;
    QLabel* m_lTime = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    GapLabel* m_label3 = nullptr;
    QLabel* m_label4 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr;
    QLabel* m_label7 = nullptr;
    QLabel* m_label10 = nullptr;
    QComboBox* m_cZQH = nullptr;
    QComboBox* m_cZQM = nullptr;
    QLineEdit* m_tSJ = nullptr;
    QLineEdit* m_cJS = nullptr;
    QComboBox* m_cTX = nullptr;
    QComboBox* m_cTxt = nullptr;
    QComboBox* m_cDZ = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QGroupBox* m_frame3 = nullptr;
    QCheckBox* m_ckClr = nullptr;
    QCheckBox* m_ckAuto = nullptr;
    QGroupBox* m_frame2 = nullptr;
    AlarmListView* m_lstA = nullptr;
    QWidget* m_pBox = nullptr;
    QLabel* m_label8 = nullptr;
    QLabel* m_label9 = nullptr;
    QMenu* m_mM = nullptr;
    QAction* m_mDelC = nullptr;
    QAction* m_mDelAC = nullptr;
};
