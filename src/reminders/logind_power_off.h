#pragma once

#include "power_off.h"

#include <QDBusConnection>
#include <QString>

#include <functional>

// Powers the machine off through systemd-logind. The first request lets
// logind ask for a password if policy wants one; when that fails, a second
// request without interaction follows; when both fail the user is told why.
// The calls do not block: the window keeps painting while logind thinks.
class LogindPowerOff final : public PowerOff
{
public:
    using ShowMessage = std::function<void(const QString& text)>;

    // logind usually answers at once; the limit keeps a hung bus (or an
    // unanswered password prompt) from holding the program for long.
    static constexpr int kDefaultTimeoutMs = 5000;

    // Production: LogindPowerOff(QDBusConnection::systemBus(), &LogindPowerOff::showMessageBox)
    LogindPowerOff(QDBusConnection bus, ShowMessage showMessage, int timeoutMs = kDefaultTimeoutMs);

    void shutDown(std::function<void()> answered) override;

    // A modal warning box with the program's name as its title.
    static void showMessageBox(const QString& text);

private:
    void request(bool interactive, std::function<void()> answered);

    QDBusConnection m_bus;
    ShowMessage m_showMessage;
    int m_timeoutMs;
};
