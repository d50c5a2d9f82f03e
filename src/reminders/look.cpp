#include "look.h"

#include <QWidget>

void SetRedText(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(0xFF, 0x00, 0x00));
    widget->setPalette(palette);
}

QFont ChineseFont(QFont font)
{
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("Noto Sans CJK SC"), font.family()});
    return font;
}
