#include "alarm_session.h"

#include "app_log.h"
#include "auto_start.h"
#include "clock_ticks.h"
#include "url_opener.h"

AlarmSession::AlarmSession(Parts parts, QObject* parent)
    : QObject(parent)
    , m_parts(std::move(parts))
    , m_sites(m_parts.settings)
    , m_options(m_parts.settings)
    , m_book(m_parts.alarmFile, m_parts.saveFailure)
    , m_outputs({m_parts.sound, m_parts.reminder, m_parts.browser, m_parts.powerOff, m_book,
                 [this] { m_poweringOff = true; }, [this] { m_parts.endProgram(); }})
    , m_scanner(m_book, m_outputs, m_parts.clock, m_parts.dateTimeText, m_sites)
{
    connect(&m_parts.ticks, &ClockTicks::scanDue, this, &AlarmSession::scan);
}

void AlarmSession::load(bool clearExpired)
{
    m_book.load(clearExpired, m_parts.clock, m_parts.dateTimeText);
    if (m_book.count() > 0)
        m_book.setAdPanelVisible(false);
}

void AlarmSession::scan()
{
    if (isOver())
        return;
    const int fired = m_scanner.scan();
    // A power-off has written the list already.
    if (!m_poweringOff)
        m_book.scanned(fired);
}

void AlarmSession::optionsChanged(const QString& advance, int clear, int autoRun)
{
    if (m_restoring)
        return;
    m_options.save(advance, clear, autoRun);
}

void AlarmSession::setAutoStart(bool on)
{
    if (on)
        m_parts.autoStart.enable();
    else
        m_parts.autoStart.disable();
}

void AlarmSession::openForum()
{
    m_parts.browser.openUrl(m_sites.forum());
}

void AlarmSession::unload(const QString& advance, int clear, int autoRun)
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    disconnect(&m_parts.ticks, nullptr, this, nullptr);
    if (!m_book.save())
        qCWarning(lcApp) << "the alarm list could not be written at closing:" << m_book.filePath();
    m_restoring = false;
    optionsChanged(advance, clear, autoRun);
}
