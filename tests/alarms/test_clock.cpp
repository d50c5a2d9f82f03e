#include "clock.h"
#include "date_time_text.h"

#include <QtTest>

#include <ctime>

class TestClock final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheLocalWallClock_data();
    void readsTheLocalWallClock();
};

void TestClock::readsTheLocalWallClock_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::newRow("Shanghai") << QByteArray("Asia/Shanghai");
    QTest::newRow("Berlin") << QByteArray("Europe/Berlin");
    QTest::newRow("Kathmandu, a quarter-hour offset") << QByteArray("Asia/Kathmandu");
    QTest::newRow("UTC") << QByteArray("UTC");
}

void TestClock::readsTheLocalWallClock()
{
    QFETCH(QByteArray, zone);
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", zone);
    tzset();
    const SystemClock clock;
    const QDateTime before = WallClock(QDateTime::currentDateTime());
    const QDateTime reading = clock.now();
    const qint64 minute = clock.nowMinute();
    const QDateTime after = WallClock(QDateTime::currentDateTime());
    qputenv("TZ", saved);
    tzset();

    QCOMPARE(reading.timeSpec(), Qt::UTC);
    QVERIFY(MinuteNumber(before) <= minute && minute <= MinuteNumber(after));
    QVERIFY2(before <= reading && reading <= after,
             qPrintable(before.toString(Qt::ISODateWithMs) + QLatin1Char(' ') + reading.toString(Qt::ISODateWithMs)));
}

QTEST_GUILESS_MAIN(TestClock)
#include "test_clock.moc"
