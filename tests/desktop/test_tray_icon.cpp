#include "test_registry.h"
#include "tray_icon.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QWidget>
#include <QtTest>

namespace {

QIcon SomeIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

constexpr int kFastPollMs = 10;

} // namespace

class TrayIconTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void presentAtOnceWhenTheAreaExists()
    {
        QWidget window;
        TrayIcon tray(window, SomeIcon(), [] { return true; });
        QVERIFY(tray.isPresent());
        QCOMPARE(tray.icon().toolTip(), QStringLiteral("Nelo闹钟"));
        QVERIFY(!tray.icon().icon().isNull());
    }

    void triggerRestoresAHiddenWindow_data()
    {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<bool>("restores");
        QTest::newRow("left click") << QSystemTrayIcon::Trigger << true;
        QTest::newRow("right click") << QSystemTrayIcon::Context << false;
        QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << false;
        QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << false;
        QTest::newRow("unknown") << QSystemTrayIcon::Unknown << false;
    }

    void triggerRestoresAHiddenWindow()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(bool, restores);

        QWidget window;
        TrayIcon tray(window, SomeIcon(), [] { return true; });
        window.showMinimized();
        window.hide();
        Q_EMIT tray.icon().activated(reason);
        QCOMPARE(window.isVisible(), restores);
        if (restores)
            QVERIFY(!window.isMinimized());
    }

    void triggerLeavesAVisibleWindowAlone()
    {
        QWidget window;
        TrayIcon tray(window, SomeIcon(), [] { return true; });
        window.show();
        window.setWindowState(Qt::WindowMinimized);
        Q_EMIT tray.icon().activated(QSystemTrayIcon::Trigger);
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());
    }

    void lateNotificationAreaGetsTheIcon()
    {
        QWidget window;
        bool available = false;
        int asked = 0;
        TrayIcon tray(window, SomeIcon(), [&] {
            ++asked;
            return available;
        }, kFastPollMs);
        QSignalSpy present(&tray, &TrayIcon::presentChanged);
        QVERIFY(!tray.isPresent());
        QTRY_VERIFY(asked >= 3);
        QVERIFY(!tray.isPresent());

        available = true;
        QTRY_VERIFY(tray.isPresent());
        QCOMPARE(present.count(), 1);
    }
};

NELOCLOCK_TEST(TrayIconTest)
#include "test_tray_icon.moc"
