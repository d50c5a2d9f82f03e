#include "reminder_window.h"

#include "caption_flash.h"
#include "look.h"
#include "reminder_placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

namespace {

QFont LabelFont()
{
    QFont font = ChineseFont();
    font.setBold(true);
    font.setPointSizeF(14.25);
    return font;
}

QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

} // namespace

ReminderWindow::ReminderWindow(const QString& text)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint)
    , m_label(new QLabel(text.isEmpty() ? defaultText() : text, this))
    , m_button(new QPushButton(QStringLiteral("我知道了"), this))
{
    setObjectName(QStringLiteral("frmAlarm"));
    setWindowTitle(QStringLiteral("重要提醒"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPixels(3900), TwipsToPixels(1185));

    m_label->setObjectName(QStringLiteral("Label1"));
    // The user's text as typed: "<b>" is shown, not obeyed, and no markup
    // can make the window load a file.
    m_label->setTextFormat(Qt::PlainText);
    m_label->setGeometry(TwipsRect(165, 165, 3585, 405));
    m_label->setAlignment(Qt::AlignCenter);
    // A long text wraps inside the label's fixed area rather than growing it.
    m_label->setWordWrap(true);
    m_label->setFont(LabelFont());
    m_label->setAutoFillBackground(true);
    m_label->installEventFilter(this);

    m_button->setObjectName(QStringLiteral("Command2"));
    m_button->setGeometry(TwipsRect(1335, 630, 1320, 450));
    setTabOrder(m_label, m_button);
    connect(m_button, &QPushButton::clicked, this, &QWidget::close);

    applyLook();
    m_flashTimer.setInterval(ReminderFlasher::kIntervalMs);
    connect(&m_flashTimer, &QTimer::timeout, this, &ReminderWindow::flash);
    m_flashTimer.start();
}

void ReminderWindow::present()
{
    show();
    placeOnScreen();
    raise();
    // Linux desktops give no way to flash a caption; this is their way of
    // asking for the user's attention (a blinking taskbar entry or similar).
    QApplication::alert(this);
}

void ReminderWindow::placeOnScreen()
{
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    move(ReminderWindowPosition(screen->geometry(), screen->availableGeometry(), frameGeometry().size()));
}

void ReminderWindow::flash()
{
    if (!m_flasher.tick()) {
        m_flashTimer.stop();
        return;
    }
    FlashCaption(this);
    applyLook();
}

void ReminderWindow::stopFlashing()
{
    m_flashTimer.stop();
    // An odd number of toggles leaves the caption inverted; one more puts it back.
    if (m_flasher.isHighlighted())
        FlashCaption(this);
    m_flasher.stop();
    applyLook();
}

void ReminderWindow::applyLook()
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    palette.setColor(QPalette::Window,
                     m_flasher.isHighlighted() ? QColor(255, 255, 160) : this->palette().color(QPalette::Window));
    m_label->setPalette(palette);
}

void ReminderWindow::mousePressEvent(QMouseEvent* event)
{
    stopFlashing();
    QWidget::mousePressEvent(event);
}

bool ReminderWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label && event->type() == QEvent::MouseButtonPress)
        stopFlashing();
    return QWidget::eventFilter(watched, event);
}

void ReminderWindow::closeEvent(QCloseEvent* event)
{
    m_flashTimer.stop();
    QWidget::closeEvent(event);
    if (event->isAccepted())
        Q_EMIT closed();
}
