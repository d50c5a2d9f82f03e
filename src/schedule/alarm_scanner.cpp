#include "alarm_scanner.h"

#include "alarm_entry.h"
#include "alarm_list.h"
#include "alarm_outputs.h"
#include "clock.h"
#include "date_time_text.h"
#include "site_addresses.h"

AlarmScanner::AlarmScanner(AlarmList& list, AlarmOutputs& outputs, const Clock& clock,
                           const DateTimeText& dateTimeText, const SiteAddresses& sites)
    : m_list(list)
    , m_outputs(outputs)
    , m_clock(clock)
    , m_dateTimeText(dateTimeText)
    , m_sites(sites)
{
}

QString AlarmScanner::siteFor(ExtraAction action) const
{
    switch (action) {
    case ExtraAction::OpenHappyFarm:
        return m_sites.happyFarm();
    case ExtraAction::OpenQQFarm:
        return m_sites.qqFarm();
    case ExtraAction::OpenOtherFarms:
        return m_sites.otherFarms();
    case ExtraAction::PowerOff:
        break;
    }
    return {};
}

int AlarmScanner::scan()
{
    // Every line present at the start is looked at once, top down. A fired
    // line leaves, so the next line moves up into its position.
    const int linesAtStart = m_list.count();
    m_known.resize(static_cast<std::size_t>(linesAtStart));
    int fired = 0;
    int position = 0;
    // The address of the last site action in this pass; an action text that
    // names no site opens it again.
    QString siteAddress;

    for (int visited = 0; visited < linesAtStart && position < m_list.count(); ++visited) {
        const QString line = m_list.lineAt(position);

        KnownDue& known = m_known[static_cast<std::size_t>(position)];
        if (known.line.isNull() || known.line != line) {
            const qsizetype bar = line.indexOf(u'|');
            const auto due = m_dateTimeText.parse(bar < 0 ? line : line.left(bar));
            known.line = line;
            known.minute = due ? std::optional(MinuteNumber(*due)) : std::nullopt;
        }

        // A due time that does not read as a date cannot be waited for: it
        // counts as due. The present time is read afresh for every line.
        if (known.minute && m_clock.nowMinute() < *known.minute) {
            ++position;
            continue;
        }

        const AlarmEntry entry = AlarmEntry::fromLine(line);
        const auto type = ReminderTypeFromText(entry.type);
        if (type && ReminderTypeUsesSound(*type))
            m_outputs.playSound();
        if (type && ReminderTypeUsesText(*type))
            m_outputs.showReminder(entry.text);
        if (type && ReminderTypeUsesAction(*type)) {
            const auto action = ExtraActionFromText(entry.action);
            if (action == ExtraAction::PowerOff) {
                // The program ends here: the line leaves first so that the
                // list written before the power-off no longer holds it.
                removeAt(position);
                m_outputs.powerOff();
                return fired + 1;
            }
            if (action)
                siteAddress = siteFor(*action);
            m_outputs.openUrl(siteAddress);
        }

        removeAt(position);
        ++fired;
        if (m_list.count() == 0)
            m_outputs.showAdPanel();
    }
    return fired;
}

void AlarmScanner::removeAt(int position)
{
    m_list.removeAt(position);
    if (static_cast<std::size_t>(position) < m_known.size())
        m_known.erase(m_known.begin() + position);
}
