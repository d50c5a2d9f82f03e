#include "test_registry.h"
#include "reminder_placement.h"

#include <QTest>

class TestReminderPlacement final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void position_data();
    void position();
};

void TestReminderPlacement::position_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("expected");

    const QSize frame(262, 100);
    // 1920 - 262 - 4 (60 twips) and 1080 - 100 - 33 (500 twips).
    QTest::newRow("no taskbar") << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1080) << frame << QPoint(1654, 947);
    QTest::newRow("low taskbar leaves the usual gap")
        << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1050) << frame << QPoint(1654, 947);
    QTest::newRow("tall taskbar pushes the window up")
        << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1000) << frame << QPoint(1654, 900);
    QTest::newRow("taskbar on the right pushes it left")
        << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1860, 1080) << frame << QPoint(1598, 947);
    QTest::newRow("second screen to the right")
        << QRect(1920, 0, 1280, 1024) << QRect(1920, 0, 1280, 984) << frame << QPoint(2934, 884);
    QTest::newRow("screen above and left of the primary")
        << QRect(-1024, -768, 1024, 768) << QRect(-1024, -768, 1024, 768) << frame << QPoint(-266, -133);
    QTest::newRow("window larger than the work area keeps its top left in view")
        << QRect(0, 0, 200, 80) << QRect(0, 10, 200, 70) << frame << QPoint(0, 10);
}

void TestReminderPlacement::position()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, workArea);
    QFETCH(QSize, frame);
    QFETCH(QPoint, expected);

    QCOMPARE(ReminderWindowPosition(screen, workArea, frame), expected);
}

NELOCLOCK_TEST(TestReminderPlacement)
#include "test_reminder_placement.moc"
