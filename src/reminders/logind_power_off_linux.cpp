#include "logind_power_off.h"

#include <QApplication>
#include <QDBusMessage>
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

void LogindPowerOff::shutDown()
{
    const QDBusMessage first = m_bus.call(PowerOffRequest(true), QDBus::Block, m_timeoutMs);
    if (first.type() == QDBusMessage::ReplyMessage)
        return;

    const QDBusMessage second = m_bus.call(PowerOffRequest(false), QDBus::Block, m_timeoutMs);
    if (second.type() == QDBusMessage::ReplyMessage)
        return;

    if (m_showMessage) {
        m_showMessage(QStringLiteral("无法关闭电脑：%1\n%2").arg(second.errorName(), second.errorMessage()));
    }
}

void LogindPowerOff::showMessageBox(const QString& text)
{
    QMessageBox::warning(nullptr, QApplication::applicationName(), text);
}
