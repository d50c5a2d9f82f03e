#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>

class QWidget;

// The main window's icon in the notification area, tip "Nelo闹钟". A left
// click brings a hidden main window back in the normal state. The icon lives
// as long as this object.
//
// A desktop whose notification area starts after the program (a panel that
// comes up late at login) gets the icon as soon as the area is there; until
// then the window has no icon, and the owner must not hide it.
class TrayIcon final : public QObject
{
    Q_OBJECT

public:
    using Availability = std::function<bool()>;
    static constexpr int kPollIntervalMs = 2000;

    TrayIcon(QWidget& window, const QIcon& icon, Availability available, int pollIntervalMs = kPollIntervalMs,
             QObject* parent = nullptr);
    ~TrayIcon() override;

    // Whether the icon stands in the notification area, so that a hidden
    // window can be brought back.
    bool isPresent() const { return m_present; }

    QSystemTrayIcon& icon() { return m_icon; }

    static QString tip();

Q_SIGNALS:
    void presentChanged(bool present);

private:
    void poll();
    void appear();
    void activated(QSystemTrayIcon::ActivationReason reason);

    QWidget& m_window;
    Availability m_available;
    QSystemTrayIcon m_icon;
    QTimer m_poll;
    bool m_present = false;
};
