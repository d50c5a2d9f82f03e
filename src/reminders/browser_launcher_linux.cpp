#include "browser_launcher.h"

#include "reminders_log.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

void StartDetached(const QString& program, const QStringList& arguments)
{
    // The user is not bothered: a desktop without xdg-open opens nothing.
    if (!QProcess::startDetached(program, arguments))
        qCWarning(lcReminders) << "could not start" << program << arguments;
}

} // namespace

BrowserLauncher::BrowserLauncher()
    : BrowserLauncher(&StartDetached)
{
}

BrowserLauncher::BrowserLauncher(Start start)
    : m_start(std::move(start))
{
}

QString BrowserLauncher::withScheme(const QString& address)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    if (address.contains(scheme))
        return address;
    return QStringLiteral("http://") + address;
}

void BrowserLauncher::openUrl(const QString& address)
{
    // With nothing to open, xdg-open would only complain; there is no start
    // page of "the browser" to fall back on.
    if (address.isEmpty())
        return;
    // One argument, never split on blanks: xdg-open gets the address whole.
    m_start(QStringLiteral("xdg-open"), {withScheme(address)});
}
