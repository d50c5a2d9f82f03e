#include "platform_choice.h"

QByteArray ChoosePlatform(const QProcessEnvironment& environment)
{
    const bool wayland = environment.value(QStringLiteral("XDG_SESSION_TYPE")) == u"wayland"
                         || !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    if (!wayland || environment.contains(QStringLiteral("QT_QPA_PLATFORM"))
        || environment.value(QStringLiteral("DISPLAY")).isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}
