#include "reminder_window_display.h"

#include "reminder_window.h" // complete type for the host's QPointer
#include "reminder_window_host.h"

ReminderWindowDisplay::ReminderWindowDisplay(ReminderWindowHost& host, QObject* parent)
    : ReminderDisplay(parent)
    , m_host(host)
{
    connect(&m_host, &ReminderWindowHost::closed, this, &ReminderDisplay::closed);
}

void ReminderWindowDisplay::show(const QString& text)
{
    m_host.show(text);
}

bool ReminderWindowDisplay::isOpen() const
{
    return m_host.isOpen();
}
