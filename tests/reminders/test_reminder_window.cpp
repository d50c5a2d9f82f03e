#include "test_registry.h"
#include "browser_launcher.h"
#include "reminder_placement.h"
#include "reminder_window.h"
#include "reminder_window_host.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class TestReminderWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textIsShownAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty keeps the greeting") << QString() << QStringLiteral("重要提醒哦！*^_^*");
        // What looks like markup is the user's text.
        QTest::newRow("markup") << QStringLiteral("<b>收菜</b><br>b") << QStringLiteral("<b>收菜</b><br>b");
    }

    void textIsShownAsTyped()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        ReminderWindowHost host;
        host.show(text);
        QLabel* label = host.window()->label();
        QCOMPARE(label->text(), shown);
        // Rendered as rich text, markup would change the label's size: bold
        // is wider, a line break taller.
        QLabel plain(shown);
        plain.setFont(label->font());
        plain.setTextFormat(Qt::PlainText);
        plain.setWordWrap(label->wordWrap());
        QCOMPARE(label->sizeHint(), plain.sizeHint());
        QVERIFY(host.window()->screen()->availableGeometry().contains(host.window()->frameGeometry()));
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QPoint>("expected");
        // 1920 - 262 - 4 (60 twips) and 1080 - 100 - 33 (500 twips).
        QTest::newRow("tall taskbar pushes the window up")
            << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1000) << QPoint(1654, 900);
        QTest::newRow("taskbar on the right pushes it left")
            << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1860, 1080) << QPoint(1598, 947);
        QTest::newRow("screen above and left of the primary")
            << QRect(-1024, -768, 1024, 768) << QRect(-1024, -768, 1024, 768) << QPoint(-266, -133);
        QTest::newRow("larger than the work area: top left in view")
            << QRect(0, 0, 200, 80) << QRect(0, 10, 200, 70) << QPoint(0, 10);
    }

    void placement()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, workArea);
        QFETCH(QPoint, expected);
        QCOMPARE(ReminderWindowPosition(screen, workArea, QSize(262, 100)), expected);
    }

    void flashesUntilClickedThenClosesForTheNext_data()
    {
        QTest::addColumn<bool>("onLabel");
        QTest::addColumn<bool>("byButton");
        QTest::newRow("label, then the button") << true << true;
        QTest::newRow("free area, then the caption") << false << false;
    }

    void flashesUntilClickedThenClosesForTheNext()
    {
        QFETCH(bool, onLabel);
        QFETCH(bool, byButton);
        ReminderWindowHost host;
        QSignalSpy closed(&host, &ReminderWindowHost::closed);
        host.show(QStringLiteral("第一个"));
        QPointer<ReminderWindow> window = host.window();
        // The look really alternates while it flashes.
        QTRY_VERIFY(window->isHighlighted());
        QTRY_VERIFY(!window->isHighlighted());
        if (onLabel)
            QTest::mouseClick(window->label(), Qt::LeftButton);
        else
            QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(3, 75));
        QVERIFY(!window->isFlashing());
        QVERIFY(!window->isHighlighted());
        QVERIFY(window->isVisible());

        // Another alarm while the window is open changes nothing.
        host.show(QStringLiteral("第二个"));
        QCOMPARE(host.window(), window);
        QCOMPARE(window->label()->text(), QStringLiteral("第一个"));
        QVERIFY(!window->isFlashing());

        if (byButton)
            QTest::mouseClick(window->button(), Qt::LeftButton);
        else
            QVERIFY(window->close());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!host.isOpen());
        QTRY_VERIFY(window.isNull()); // deleted, not merely hidden
        host.show(QStringLiteral("第二个"));
        QCOMPARE(host.window()->label()->text(), QStringLiteral("第二个"));
        QVERIFY(host.window()->isFlashing());
    }

    void browserGetsAnAddressWithAScheme_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("host with path") << "ad.example.com/ad-tc.asp" << QStringList{"http://ad.example.com/ad-tc.asp"};
        QTest::newRow("upper-case scheme kept") << "HTTP://EXAMPLE.COM" << QStringList{"HTTP://EXAMPLE.COM"};
        QTest::newRow("a port is no scheme") << "localhost:8080/x" << QStringList{"http://localhost:8080/x"};
        QTest::newRow("nothing to open starts nothing") << "" << QStringList();
    }

    void browserGetsAnAddressWithAScheme()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, opened);
        QStringList seen;
        BrowserLauncher([&seen](const QString& url) {
            seen << url;
            return true;
        }).openUrl(address);
        QCOMPARE(seen, opened);
    }
};

NELOCLOCK_TEST(TestReminderWindow)
#include "test_reminder_window.moc"
