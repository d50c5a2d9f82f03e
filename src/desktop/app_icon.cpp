#include "app_icon.h"

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64})
        icon.addFile(QStringLiteral(":/neloclock/icons/neloclock-%1.png").arg(size), QSize(size, size));
    return icon;
}
