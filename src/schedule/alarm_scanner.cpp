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
    int fired = 0;
    int position = 0;
    // The address of the last site action in this pass; an action text that
    // names no site opens it again.
    QString siteAddress;

    for (int visited = 0; visited < linesAtStart && position < m_list.count(); ++visited) {
        const AlarmEntry entry = AlarmEntry::fromLine(m_list.lineAt(position));
        m_currentReminderText = entry.text;

        // A due time that does not read as a date cannot be waited for: it
        // counts as due. The present time is read afresh for every line.
        const auto due = m_dateTimeText.parse(entry.due);
        if (due && ElapsedMinutes(*due, m_clock.now()) < 0) {
            ++position;
            continue;
        }

        const auto type = ReminderTypeFromText(entry.type);
        if (type && ReminderTypeUsesSound(*type))
            m_outputs.playSound();
        if (type && ReminderTypeUsesText(*type))
            m_outputs.showReminder(m_currentReminderText);
        if (type && ReminderTypeUsesAction(*type)) {
            const auto action = ExtraActionFromText(entry.action);
            if (action == ExtraAction::PowerOff) {
                // The program ends here: the line leaves first so that the
                // list written before the power-off no longer holds it.
                m_list.removeAt(position);
                m_outputs.powerOff();
                m_outputs.endProgram();
                return fired + 1;
            }
            if (action)
                siteAddress = siteFor(*action);
            m_outputs.openUrl(siteAddress);
        }

        m_list.removeAt(position);
        ++fired;
        if (m_list.count() == 0)
            m_outputs.showAdPanel();
    }
    return fired;
}
