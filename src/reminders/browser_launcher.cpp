#include "browser_launcher.h"

#include "reminders_log.h"
#include "site_addresses.h"

BrowserLauncher::BrowserLauncher(Open open)
    : m_open(std::move(open))
{
}

void BrowserLauncher::openUrl(const QString& address)
{
    // With nothing to open, the desktop would only complain; there is no
    // start page of "the browser" to fall back on.
    if (address.isEmpty())
        return;
    // The user is not bothered: a desktop without a browser opens nothing.
    if (!m_open(WithScheme(address)))
        qCWarning(lcReminders) << "no browser could be started for" << address;
}
