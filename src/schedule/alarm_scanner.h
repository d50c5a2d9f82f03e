#pragma once

#include "alarm_entry.h"

#include <QString>

class AlarmList;
class AlarmOutputs;
class Clock;
class DateTimeText;
class SiteAddresses;

// The due-alarm scan: walks the list top down, fires every line whose due
// minute has come and takes it out of the list. A due time that does not
// read as a date counts as due.
class AlarmScanner final
{
public:
    AlarmScanner(AlarmList& list, AlarmOutputs& outputs, const Clock& clock, const DateTimeText& dateTimeText,
                 const SiteAddresses& sites);

    // One pass over the list; returns how many lines fired and left it.
    // A power-off line ends the pass (and the program) where it stands.
    int scan();

    // The reminder text of the line the scan examined last; the reminder
    // window takes its text from here.
    const QString& currentReminderText() const { return m_currentReminderText; }

private:
    QString siteFor(ExtraAction action) const;

    AlarmList& m_list;
    AlarmOutputs& m_outputs;
    const Clock& m_clock;
    const DateTimeText& m_dateTimeText;
    const SiteAddresses& m_sites;
    QString m_currentReminderText;
};
