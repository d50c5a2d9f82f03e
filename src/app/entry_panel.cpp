#include "entry_panel.h"

#include "alarm_entry.h"
#include "clock.h"
#include "date_time_text.h"
#include "strict_number.h"

#include <cmath>

namespace {

// The date range the alarm lines are written for: four-digit years.
bool Representable(const QDateTime& value)
{
    return value.isValid() && value.date().year() >= 1 && value.date().year() <= 9999;
}

// value + count units of unitSeconds, to the second; nothing when the
// result would leave the representable range.
std::optional<QDateTime> AddUnits(const QDateTime& value, double count, qint64 unitSeconds)
{
    const double seconds = std::round(count * static_cast<double>(unitSeconds));
    // About 10,000 years; anything beyond cannot give a representable date
    // and would overflow the conversion below.
    constexpr double kLimit = 3.2e11;
    if (!std::isfinite(seconds) || std::fabs(seconds) > kLimit)
        return std::nullopt;
    const QDateTime result = value.addSecs(static_cast<qint64>(seconds));
    if (!Representable(result))
        return std::nullopt;
    return result;
}

} // namespace

EntryPanel::EntryPanel(const Clock& clock, const DateTimeText& dateTimeText)
    : m_clock(clock)
    , m_dateTimeText(dateTimeText)
{
}

void EntryPanel::recomputeAlarmTime(EntryPanelState& state) const
{
    if (const auto hours = StrictNumber(state.hours)) {
        if (const auto time = AddUnits(m_clock.now(), *hours, 3600))
            state.alarmTime = m_dateTimeText.format(*time);
    }
    if (const auto minutes = StrictNumber(state.minutes)) {
        if (const auto shown = m_dateTimeText.parse(state.alarmTime)) {
            if (const auto time = AddUnits(*shown, *minutes, 60))
                state.alarmTime = m_dateTimeText.format(*time);
        }
    }
}

void EntryPanel::applyReminderType(EntryPanelState& state) const
{
    const auto type = ReminderTypeFromText(state.type);
    if (!type)
        return;
    state.textEnabled = ReminderTypeUsesText(*type);
    state.actionEnabled = ReminderTypeUsesAction(*type);
}

std::optional<QDateTime> EntryPanel::dueTime(const EntryPanelState& state) const
{
    const auto alarmTime = m_dateTimeText.parse(state.alarmTime);
    const auto advance = StrictNumber(state.advance);
    if (!alarmTime || !advance)
        return std::nullopt;
    return AddUnits(*alarmTime, -std::floor(*advance), 60);
}

bool EntryPanel::alarmTimeReadable(const EntryPanelState& state) const
{
    return m_dateTimeText.parse(state.alarmTime).has_value();
}

bool EntryPanel::advanceReadable(const EntryPanelState& state) const
{
    return StrictNumber(state.advance).has_value();
}

std::optional<QString> EntryPanel::alarmLine(const EntryPanelState& state) const
{
    const auto due = dueTime(state);
    if (!due)
        return std::nullopt;
    return BuildAlarmLine(due, state.type, state.textEnabled ? state.text : QString(),
                          state.actionEnabled ? state.action : QString(), m_dateTimeText);
}
