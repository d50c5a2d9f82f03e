#pragma once

#include "reminder_flasher.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;

// The small topmost reminder at the bottom right of the screen: the alarm's
// text in large red letters, flashing until the user reacts. A click on the
// text or the free area stops the flashing; "我知道了" closes the window,
// which then deletes itself.
class ReminderWindow final : public QWidget
{
    Q_OBJECT

public:
    static QString defaultText() { return QStringLiteral("重要提醒哦！*^_^*"); }

    // An empty text keeps the window's own greeting.
    explicit ReminderWindow(const QString& text);

    // Shows the window at its place and starts asking for attention.
    void present();

    bool isFlashing() const { return m_flasher.isFlashing(); }
    bool isHighlighted() const { return m_flasher.isHighlighted(); }
    QLabel* label() const { return m_label; }
    QPushButton* button() const { return m_button; }

Q_SIGNALS:
    void closed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void flash();
    void stopFlashing();
    void applyLook();
    void placeOnScreen();

    QLabel* m_label;
    QPushButton* m_button;
    QTimer m_flashTimer;
    ReminderFlasher m_flasher;
};
