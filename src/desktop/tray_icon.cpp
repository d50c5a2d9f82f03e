#include "tray_icon.h"

#include "product.h"

#include <QWidget>

TrayIcon::TrayIcon(QWidget& window, const QIcon& icon, Availability available, int pollIntervalMs,
                   QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_available(std::move(available))
{
    m_icon.setIcon(icon);
    m_icon.setToolTip(tip());
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
    if (m_available()) {
        appear();
        return;
    }
    m_poll.setInterval(pollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &TrayIcon::poll);
    m_poll.start();
}

TrayIcon::~TrayIcon()
{
    m_icon.hide();
}

QString TrayIcon::tip()
{
    return kProductName;
}

void TrayIcon::poll()
{
    if (!m_available())
        return;
    m_poll.stop();
    appear();
}

void TrayIcon::appear()
{
    m_icon.show();
    m_present = true;
    Q_EMIT presentChanged(true);
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    // Only a plain click counts: a right click or a double click over the
    // icon leaves the window as it is.
    if (reason != QSystemTrayIcon::Trigger || m_window.isVisible())
        return;
    m_window.setWindowState(m_window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}
