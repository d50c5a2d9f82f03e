#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class Clock;
class DateTimeText;

// What the entry panel's fields hold: their texts, and whether the text and
// action fields are on.
struct EntryPanelState
{
    QString hours;      // cZQH
    QString minutes;    // cZQM
    QString advance;    // tSJ
    QString alarmTime;  // cJS
    QString type;       // cTX
    QString text;       // cTxt
    QString action;     // cDZ
    bool textEnabled = true;
    bool actionEnabled = true;
};

// The entry panel's reactions, on its fields' contents. Each step of the
// alarm time that cannot be carried out (a field that is not a number, a
// time that is not a date) is skipped and leaves its result as it was.
class EntryPanel final
{
public:
    EntryPanel(const Clock& clock, const DateTimeText& dateTimeText);

    // The alarm time from the remaining hours and minutes: first now plus
    // the hours, then the alarm time shown so far plus the minutes. The two
    // steps fail separately.
    void recomputeAlarmTime(EntryPanelState& state) const;

    // Turns the text and action fields on or off for the chosen type; an
    // unknown type changes nothing.
    void applyReminderType(EntryPanelState& state) const;

    // The alarm time moved earlier by the advance minutes, taken down to the
    // whole number below; nothing when either field is unreadable.
    std::optional<QDateTime> dueTime(const EntryPanelState& state) const;

    bool alarmTimeReadable(const EntryPanelState& state) const;
    bool advanceReadable(const EntryPanelState& state) const;

    // The line an added alarm appends: due|type|text|action, with the text
    // and action empty when their fields are off. Nothing when the due time
    // cannot be worked out: such a line would fire at once.
    std::optional<QString> alarmLine(const EntryPanelState& state) const;

private:
    const Clock& m_clock;
    const DateTimeText& m_dateTimeText;
};
