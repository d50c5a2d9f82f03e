#pragma once

#include "alarm_entry.h"

#include <QString>

#include <optional>
#include <vector>

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

private:
    QString siteFor(ExtraAction action) const;
    void removeAt(int position);

    AlarmList& m_list;
    AlarmOutputs& m_outputs;
    const Clock& m_clock;
    const DateTimeText& m_dateTimeText;
    const SiteAddresses& m_sites;

    // The due minute of each line as last seen at its position, so a pass
    // over an unchanged list reads no date. A line that differs from what
    // was seen there is read afresh.
    struct KnownDue
    {
        QString line;
        std::optional<qint64> minute; // nothing: the due time is unreadable
    };
    std::vector<KnownDue> m_known;
};
