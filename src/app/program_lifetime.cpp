#include "program_lifetime.h"

#include "reminder_display.h"

ProgramLifetime::ProgramLifetime(ReminderDisplay& reminder, std::function<void()> quit, QObject* parent)
    : QObject(parent)
    , m_reminder(reminder)
    , m_quit(std::move(quit))
{
    connect(&m_reminder, &ReminderDisplay::closed, this, &ProgramLifetime::reminderClosed);
}

void ProgramLifetime::mainWindowClosed()
{
    m_mainWindowClosed = true;
    if (!m_reminder.isOpen())
        m_quit();
}

void ProgramLifetime::reminderClosed()
{
    if (m_mainWindowClosed)
        m_quit();
}
