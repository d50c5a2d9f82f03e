#include "logind_power_off.h"

#include "reminders_log.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QMessageBox>

namespace {

QDBusMessage PowerOffRequest(bool interactive)
{
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PowerOff"));
    request << interactive;
    return request;
}

} // namespace

LogindPowerOff::LogindPowerOff(QDBusConnection bus, ShowMessage showMessage, int timeoutMs)
    : m_bus(std::move(bus))
    , m_showMessage(std::move(showMessage))
    , m_timeoutMs(timeoutMs)
{
}

void LogindPowerOff::shutDown(std::function<void()> answered)
{
    request(true, std::move(answered));
}

void LogindPowerOff::request(bool interactive, std::function<void()> answered)
{
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(PowerOffRequest(interactive), m_timeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [this, interactive, answered = std::move(answered)](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         if (!call->isError()) {
                             answered();
                             return;
                         }
                         if (interactive) {
                             request(false, answered);
                             return;
                         }
                         qCWarning(lcReminders) << "logind refused to power off:" << call->error().name();
                         if (m_showMessage) {
                             m_showMessage(QStringLiteral("无法关闭电脑：%1\n%2")
                                               .arg(call->error().name(), call->error().message()));
                         }
                         answered();
                     });
}

void LogindPowerOff::showMessageBox(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
