#include "gap_label.h"

#include <QPainter>
#include <QRegularExpression>

namespace {

const QRegularExpression& BlankRun()
{
    static const QRegularExpression run(QStringLiteral(" {2,}"));
    return run;
}

} // namespace

GapLabel::GapLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
}

void GapLabel::setGapWidth(int pixels)
{
    m_gapWidth = pixels;
    updateGeometry();
    update();
}

QString GapLabel::lead() const
{
    const auto match = BlankRun().match(text());
    return match.hasMatch() ? text().left(match.capturedStart()) : text();
}

QString GapLabel::tail() const
{
    const auto match = BlankRun().match(text());
    return match.hasMatch() ? text().mid(match.capturedEnd()) : QString();
}

int GapLabel::gapStart() const
{
    return contentsRect().left() + fontMetrics().horizontalAdvance(lead());
}

QSize GapLabel::sizeHint() const
{
    if (m_gapWidth <= 0)
        return QLabel::sizeHint();
    const QFontMetrics metrics = fontMetrics();
    const QMargins margins = contentsMargins();
    const int width = metrics.horizontalAdvance(lead()) + m_gapWidth + metrics.horizontalAdvance(tail());
    return QSize(width + margins.left() + margins.right(), QLabel::sizeHint().height());
}

QSize GapLabel::minimumSizeHint() const
{
    return sizeHint();
}

void GapLabel::paintEvent(QPaintEvent* event)
{
    if (m_gapWidth <= 0) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    const QRect area = contentsRect();
    const int leadWidth = fontMetrics().horizontalAdvance(lead());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, lead());
    painter.drawText(area.adjusted(leadWidth + m_gapWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, tail());
}
