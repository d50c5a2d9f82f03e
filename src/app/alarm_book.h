#pragma once

#include "alarm_file.h"
#include "alarm_list.h"

#include <QObject>
#include <QStringList>
#include <QStringListModel>

class Clock;
class DateTimeText;
class SaveFailureNotice;

// The alarm lines of the main window's list, with the advertisement panel
// that covers the list while it is empty, kept on disk as the list changes.
//
// Every change the user makes is written to the alarm file at once, so a
// crash, a kill or a power cut loses nothing. When the file cannot be
// written the user hears of it once, not at every change, until a write
// succeeds again. A file that exists but cannot be read is moved aside
// before anything is written in its place.
class AlarmBook final : public QObject, public AlarmList
{
    Q_OBJECT

public:
    AlarmBook(AlarmFileLocation location, SaveFailureNotice& notice, const char* encoding = kAlarmFileEncoding,
              QObject* parent = nullptr);

    QStringListModel& model() { return m_model; }
    QStringList lines() const { return m_model.stringList(); }
    const QString& filePath() const { return m_location.writePath; }

    // The start-up read: the pending lines of the file; nothing is written
    // back for them.
    void load(bool clearExpired, const Clock& clock, const DateTimeText& dateTimeText);

    // An added alarm goes last; the panel uncovers the list.
    void add(const QString& line);
    // Removes the selected line, if any (-1: none); an emptied list is
    // covered by the panel again.
    void deleteAt(int row);
    void deleteAll();
    // After a scan: one write for however many alarms fired and left.
    void scanned(int fired);

    // Writes the file; false after a failure, which has been reported.
    bool save();

    bool adPanelVisible() const { return m_adPanelVisible; }
    void setAdPanelVisible(bool visible);

    // The list as the scan walks it. Removal here does not write the file:
    // the scan's caller writes once when the scan is over.
    int count() const override;
    QString lineAt(int position) const override;
    void removeAt(int position) override;

Q_SIGNALS:
    void adPanelVisibleChanged(bool visible);

private:
    QStringListModel m_model;
    AlarmFileLocation m_location;
    SaveFailureNotice& m_notice;
    const char* m_encoding;
    // Set when an unreadable file could not be moved aside: writing would
    // destroy it.
    bool m_writeBlocked = false;
    bool m_adPanelVisible = true;
    bool m_failureReported = false;
};
