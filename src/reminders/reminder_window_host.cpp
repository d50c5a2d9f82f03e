#include "reminder_window_host.h"

#include "reminder_window.h"

ReminderWindowHost::ReminderWindowHost(QObject* parent)
    : QObject(parent)
{
}

ReminderWindowHost::~ReminderWindowHost()
{
    // The window has no parent (it must not vanish with the main window), so
    // the host takes it along when the program itself is torn down.
    delete m_window.data();
}

void ReminderWindowHost::show(const QString& text)
{
    if (m_window)
        return;
    m_window = new ReminderWindow(text);
    connect(m_window.data(), &ReminderWindow::closed, this, &ReminderWindowHost::windowClosed);
    m_window->present();
}

void ReminderWindowHost::windowClosed()
{
    // The window deletes itself later; from now on it no longer counts.
    m_window = nullptr;
    Q_EMIT closed();
}
