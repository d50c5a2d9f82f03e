#include "test_registry.h"
#include "date_time_text.h"

#include <QtTest>

#include <ctime>

namespace {

QDateTime Wall(int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

class TestDateTimeText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void chineseText();
    void everyLocaleReadsWhatItWrites();
    void readsFormsFromOtherLocales_data();
    void readsFormsFromOtherLocales();
    void refusesWhatIsNotADate_data();
    void refusesWhatIsNotADate();
    void elapsedMinutes_data();
    void elapsedMinutes();
    void wallClockIgnoresDaylightSaving();
};

void TestDateTimeText::roundTrip_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("value");

    const QList<QDateTime> values{Wall(2026, 12, 6, 10, 15, 42), Wall(2026, 12, 6, 0, 0, 0),
                                  Wall(2026, 1, 31, 23, 59, 59), Wall(2027, 2, 1, 0, 0, 1),
                                  Wall(2099, 7, 4, 13, 5, 9)};
    for (const char* locale : {"zh_CN", "en_US", "de_DE", "C", "ja_JP", "fr_FR"}) {
        for (const QDateTime& value : values) {
            QTest::addRow("%s %s", locale, qPrintable(value.toString(Qt::ISODate)))
                << QString::fromLatin1(locale) << value;
        }
    }
}

void TestDateTimeText::roundTrip()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, value);

    const DateTimeText text{QLocale(locale)};
    const QString written = text.format(value);
    const auto read = text.parse(written);
    QVERIFY2(read.has_value(), qPrintable(written));
    QCOMPARE(*read, value);
    // Midnight is the date alone; any other time carries a time after a blank.
    QCOMPARE(written == text.format(QDateTime(value.date(), QTime(0, 0), Qt::UTC)), value.time() == QTime(0, 0));
    // "yyyy-MM-dd HH:mm:ss" is read under every locale.
    QCOMPARE(text.parse(value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))), std::optional(value));
}

void TestDateTimeText::chineseText()
{
    const DateTimeText text{QLocale(QLocale::Chinese, QLocale::China)};
    // The form Chinese Windows writes; no zone designator that Qt would read
    // back as another zone.
    QCOMPARE(text.format(Wall(2026, 12, 6, 10, 15, 42)), QStringLiteral("2026/12/6 10:15:42"));
    QCOMPARE(text.format(Wall(2026, 12, 6, 0, 0, 0)), QStringLiteral("2026/12/6"));
    QCOMPARE(text.format(Wall(2026, 3, 1, 9, 5, 7)), QStringLiteral("2026/3/1 09:05:07"));
    // Two-digit-year locales are widened, so 2026 never reads back as 1926.
    QVERIFY(DateTimeText(QLocale(QLocale::English, QLocale::UnitedStates)).datePattern().contains(u"yyyy"));
    QVERIFY(DateTimeText(QLocale(QLocale::German, QLocale::Germany)).datePattern().contains(u"yyyy"));
}

void TestDateTimeText::everyLocaleReadsWhatItWrites()
{
    // Whatever the user's regional settings, a due time written under them
    // must read back to the same second: month names, AM/PM texts, native
    // digits and literal text included.
    const QList<QDateTime> values{Wall(2026, 12, 6, 10, 15, 42), Wall(2026, 1, 9, 0, 0, 0),
                                  Wall(2027, 5, 31, 23, 59, 59), Wall(2026, 12, 6, 12, 0, 1)};
    const auto locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 100);
    QStringList failures;
    for (const QLocale& locale : locales) {
        const DateTimeText text(locale);
        for (const QDateTime& value : values) {
            const QString written = text.format(value);
            if (text.parse(written) != std::optional(value))
                failures << locale.name() + QStringLiteral(": ") + written;
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 20).join(QStringLiteral("; "))));
}

void TestDateTimeText::readsFormsFromOtherLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");

    const QDateTime morning = Wall(2026, 12, 6, 9, 5, 42);
    QTest::newRow("Chinese line read under en_US") << "en_US" << "2026/12/6 9:05:42" << morning;
    QTest::newRow("Chinese line read under de_DE") << "de_DE" << "2026/12/6 09:05:42" << morning;
    QTest::newRow("dashes, no leading zeros") << "C" << "2026-12-6 9:05:42" << morning;
    QTest::newRow("slashes, leading zeros") << "en_US" << "2026/12/06 09:05:42" << morning;
    QTest::newRow("date alone, slashes") << "de_DE" << "2026/12/6" << Wall(2026, 12, 6, 0, 0, 0);
    QTest::newRow("date alone, dashes") << "en_US" << "2026-12-06" << Wall(2026, 12, 6, 0, 0, 0);
    QTest::newRow("blanks around") << "zh_CN" << "  2026/12/6 9:05:42 " << morning;
    QTest::newRow("en_US own form") << "en_US" << "12/6/2026 9:05:42 AM" << morning;
    QTest::newRow("en_US own form, afternoon") << "en_US" << "12/6/2026 9:05:42 PM" << Wall(2026, 12, 6, 21, 5, 42);
    QTest::newRow("de_DE own form") << "de_DE" << "06.12.2026 09:05:42" << morning;
    QTest::newRow("C own form") << "C" << "6 Dec 2026 09:05:42" << morning;
    QTest::newRow("leap day") << "zh_CN" << "2028/2/29 12:00:00" << Wall(2028, 2, 29, 12, 0, 0);
    // Forms people type into the alarm time field.
    const QDateTime evening = Wall(2026, 12, 6, 23, 0, 0);
    QTest::newRow("typed with year, month and day words") << "zh_CN" << "2026年12月6日 23:00:00" << evening;
    QTest::newRow("typed with words, no seconds") << "en_US" << "2026年12月6日 23:00" << evening;
    QTest::newRow("typed with dashes, no seconds") << "zh_CN" << "2026-12-6 23:00" << evening;
    QTest::newRow("typed with slashes, no seconds") << "de_DE" << "2026/12/6 23:00" << evening;
    QTest::newRow("typed with dots") << "zh_CN" << "2026.12.6 23:00:00" << evening;
}

void TestDateTimeText::readsFormsFromOtherLocales()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);

    QCOMPARE(DateTimeText(QLocale(locale)).parse(text), std::optional(expected));
}

void TestDateTimeText::refusesWhatIsNotADate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "zh_CN" << "";
    QTest::newRow("blanks") << "zh_CN" << "   ";
    QTest::newRow("words") << "zh_CN" << "菜熟啦";
    QTest::newRow("month 13") << "zh_CN" << "2026/13/1 10:00:00";
    QTest::newRow("30 February") << "zh_CN" << "2026/2/30 10:00:00";
    QTest::newRow("hour 24") << "zh_CN" << "2026/12/6 24:00:00";
    QTest::newRow("day words without the day") << "zh_CN" << "2026年12月 23:00";
    QTest::newRow("two-digit year is not guessed") << "zh_CN" << "26.12.6 23:00";
    QTest::newRow("minute 60") << "zh_CN" << "2026/12/6 10:60:00";
    QTest::newRow("mixed separators") << "zh_CN" << "2026/12-6 10:00:00";
    QTest::newRow("trailing words") << "zh_CN" << "2026/12/6 10:15:42 明天";
    QTest::newRow("two-digit year") << "zh_CN" << "26/12/6 10:15:42";
    // Day and month are never swapped to make a text fit.
    QTest::newRow("US order under Chinese locale") << "zh_CN" << "12/6/2026 10:15:42";
    QTest::newRow("day first under en_US") << "en_US" << "31/12/2026 10:15:42 AM";
    QTest::newRow("time alone") << "zh_CN" << "10:15:42";
}

void TestDateTimeText::refusesWhatIsNotADate()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);

    QCOMPARE(DateTimeText(QLocale(locale)).parse(text), std::nullopt);
}

void TestDateTimeText::elapsedMinutes_data()
{
    QTest::addColumn<QDateTime>("due");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<qint64>("minutes");

    QTest::newRow("a second across a minute boundary")
        << Wall(2026, 12, 6, 10, 0, 59) << Wall(2026, 12, 6, 10, 1, 0) << qint64(1);
    QTest::newRow("within the same minute") << Wall(2026, 12, 6, 10, 0, 0) << Wall(2026, 12, 6, 10, 0, 59) << qint64(0);
    QTest::newRow("a second before") << Wall(2026, 12, 6, 10, 1, 0) << Wall(2026, 12, 6, 10, 0, 59) << qint64(-1);
    QTest::newRow("across midnight") << Wall(2026, 12, 6, 23, 59, 30) << Wall(2026, 12, 7, 0, 0, 10) << qint64(1);
    QTest::newRow("across a year") << Wall(2026, 12, 31, 23, 0, 0) << Wall(2027, 1, 1, 1, 0, 0) << qint64(120);
    QTest::newRow("days ahead") << Wall(2026, 12, 9, 10, 0, 0) << Wall(2026, 12, 6, 10, 0, 0) << qint64(-3 * 1440);
}

void TestDateTimeText::elapsedMinutes()
{
    QFETCH(QDateTime, due);
    QFETCH(QDateTime, now);
    QFETCH(qint64, minutes);

    QCOMPARE(ElapsedMinutes(due, now), minutes);
}

void TestDateTimeText::wallClockIgnoresDaylightSaving()
{
    // In Berlin 02:30 on 29 March 2026 does not exist on the local clock. An
    // alarm set there must still read back and come due half an hour after
    // 02:00 on the wall clock, not vanish or shift.
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const DateTimeText text{QLocale(QLocale::German, QLocale::Germany)};
    const auto due = text.parse(QStringLiteral("2026/3/29 2:30:00"));
    qputenv("TZ", savedZone);
    tzset();

    QVERIFY(due.has_value());
    QCOMPARE(due->time(), QTime(2, 30));
    QCOMPARE(ElapsedMinutes(*due, Wall(2026, 3, 29, 3, 0, 0)), qint64(30));
    QCOMPARE(ElapsedMinutes(*due, Wall(2026, 3, 29, 2, 29, 59)), qint64(-1));
}

NELOCLOCK_TEST(TestDateTimeText)
#include "test_date_time_text.moc"
