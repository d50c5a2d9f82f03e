#include "firing_outputs.h"

#include "alarm_book.h"
#include "alarm_sound.h"
#include "power_off.h"
#include "reminder_display.h"
#include "url_opener.h"

FiringOutputs::FiringOutputs(Parts parts)
    : m_parts(std::move(parts))
{
}

void FiringOutputs::playSound()
{
    m_parts.sound.play();
}

void FiringOutputs::showReminder(const QString& text)
{
    m_parts.reminder.show(text);
}

void FiringOutputs::openUrl(const QString& address)
{
    m_parts.browser.openUrl(address);
}

void FiringOutputs::powerOff()
{
    m_parts.book.save();
    m_parts.stopScanning();
    m_parts.powerOff.shutDown(m_parts.endProgram);
}

void FiringOutputs::showAdPanel()
{
    m_parts.book.setAdPanelVisible(true);
}
