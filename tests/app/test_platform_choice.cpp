#include "test_registry.h"
#include "platform_choice.h"

#include <QtTest>

class PlatformChoiceTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choice_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QByteArray>("platform");

        QTest::newRow("X11 session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << QByteArray();
        QTest::newRow("Wayland with XWayland")
            << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << QByteArray("xcb");
        QTest::newRow("Wayland told only by its display") << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"}
                                                          << QByteArray("xcb");
        QTest::newRow("Wayland without XWayland") << QStringList{"XDG_SESSION_TYPE=wayland"} << QByteArray();
        QTest::newRow("the user's choice stands")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"} << QByteArray();
        QTest::newRow("an empty choice is a choice too")
            << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM="} << QByteArray();
    }

    void choice()
    {
        QFETCH(QStringList, environment);
        QFETCH(QByteArray, platform);

        QProcessEnvironment env;
        for (const QString& entry : environment)
            env.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
        QCOMPARE(ChoosePlatform(env), platform);
    }
};

NELOCLOCK_TEST(PlatformChoiceTest)
#include "test_platform_choice.moc"
