#include "reminder_flasher.h"

bool ReminderFlasher::tick()
{
    if (!m_flashing)
        return false;
    m_highlighted = !m_highlighted;
    return true;
}

void ReminderFlasher::stop()
{
    m_flashing = false;
    m_highlighted = false;
}
