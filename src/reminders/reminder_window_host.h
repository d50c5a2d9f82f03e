#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class ReminderWindow;

// Keeps the program's one reminder window: shows it when none is open and
// leaves an open one exactly as it is.
class ReminderWindowHost final : public QObject
{
    Q_OBJECT

public:
    explicit ReminderWindowHost(QObject* parent = nullptr);
    ~ReminderWindowHost() override;

    // Opens a new window with the text (empty keeps the window's greeting),
    // unless one is open already: then its text, place and flashing stay.
    void show(const QString& text);
    bool isOpen() const { return m_window != nullptr; }
    ReminderWindow* window() const { return m_window; }

Q_SIGNALS:
    // The user closed the window. Tool windows do not count for quitting on
    // the last closed window, so the program listens here instead.
    void closed();

private:
    void windowClosed();

    QPointer<ReminderWindow> m_window;
};
