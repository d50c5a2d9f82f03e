#include "link_label.h"

#include <QFont>
#include <QMouseEvent>
#include <QPalette>

LinkLabel::LinkLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    // SimSun on Windows; Linux rarely has it, so a CJK face that Debian
    // ships keeps the Chinese text from falling back to boxes.
    QFont linkFont = font();
    linkFont.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei")});
    linkFont.setPointSize(9);
    linkFont.setUnderline(true);
    setFont(linkFont);

    QPalette linkPalette = palette();
    linkPalette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    setPalette(linkPalette);

    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const bool wasPressed = m_pressed;
        m_pressed = false;
        event->accept();
        if (wasPressed && rect().contains(event->position().toPoint()))
            Q_EMIT clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}
