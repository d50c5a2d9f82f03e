#include "test_registry.h"
#include "alarm_entry.h"
#include "date_time_text.h"

#include <QtTest>

#include <ctime>

namespace {

QDateTime Wall(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

class TestAlarmLine final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("fifth field ignored") << "d|t|x|y|z" << QStringList{"d", "t", "x", "y"};
        QTest::newRow("no bar: all is the due field") << "2026/12/6" << QStringList{"2026/12/6", "", "", ""};
        QTest::newRow("two fields") << "d|声音提醒" << QStringList{"d", "声音提醒", "", ""};
        QTest::newRow("empty") << "" << QStringList{"", "", "", ""};
        // A bar typed into the text cuts it there; the rest reads as the action.
        QTest::newRow("bar in the text") << "d|声音及文本提醒|菜|熟了|" << QStringList{"d", "声音及文本提醒", "菜", "熟了"};
    }

    void fields()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        const AlarmEntry entry = AlarmEntry::fromLine(line);
        QCOMPARE((QStringList{entry.due, entry.type, entry.text, entry.action}), fields);
        // Written back, a line keeps all three bars, also around empty fields.
        const DateTimeText zh{QLocale(QLocale::Chinese, QLocale::China)};
        const QString rest = QStringLiteral("|") + fields.mid(1).join(u'|');
        QCOMPARE(BuildAlarmLine(Wall(2026, 12, 6, 11, 43, 42), fields[1], fields[2], fields[3], zh),
                 QStringLiteral("2026/12/6 11:43:42") + rest);
        QCOMPARE(BuildAlarmLine(std::nullopt, fields[1], fields[2], fields[3], zh), rest);
    }

    void everyLocaleReadsWhatItWrites()
    {
        // Whatever the user's regional settings, a due time written under
        // them must read back to the same second: month names, AM/PM texts,
        // native digits and literal text included.
        const QList<QDateTime> values{Wall(2026, 12, 6, 10, 15, 42), Wall(2026, 1, 9), Wall(2027, 5, 31, 23, 59, 59),
                                      Wall(2026, 12, 6, 12, 0, 1)};
        const auto locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QVERIFY(locales.size() > 100);
        QStringList failures;
        for (const QLocale& locale : locales) {
            const DateTimeText text(locale);
            for (const QDateTime& value : values) {
                if (text.parse(text.format(value)) != std::optional(value))
                    failures << locale.name() + QStringLiteral(": ") + text.format(value);
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 20).join(QStringLiteral("; "))));
    }

    void parse_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: refused
        QTest::addColumn<bool>("written");       // also the locale's own form of it

        const QDateTime morning = Wall(2026, 12, 6, 9, 5, 42);
        const QDateTime evening = Wall(2026, 12, 6, 23, 0, 0);
        const QDateTime no;
        // The form Chinese Windows writes, with no zone designator that would
        // read back as another zone; midnight is the date alone.
        QTest::newRow("zh_CN") << "zh_CN" << "2026/12/6 09:05:42" << morning << true;
        QTest::newRow("zh_CN midnight") << "zh_CN" << "2026/12/6" << Wall(2026, 12, 6) << true;
        // Two-digit years are widened, so 2026 never reads back as 1926.
        QTest::newRow("en_US") << "en_US" << "12/6/2026 9:05:42 PM" << Wall(2026, 12, 6, 21, 5, 42) << true;
        QTest::newRow("de_DE") << "de_DE" << "06.12.2026 09:05:42" << morning << true;
        QTest::newRow("C month name") << "C" << "6 Dec 2026 09:05:42" << morning << true;
        // Lines written on Chinese Windows are read under any locale, and so
        // are the forms people type into the alarm time field.
        QTest::newRow("Chinese line under en_US") << "en_US" << "2026/12/6 9:05:42" << morning << false;
        QTest::newRow("date alone, dashes") << "en_US" << "2026-12-06" << Wall(2026, 12, 6) << false;
        QTest::newRow("blanks around") << "zh_CN" << "  2026/12/6 9:05:42 " << morning << false;
        QTest::newRow("year, month and day words") << "en_US" << "2026年12月6日 23:00" << evening << false;
        QTest::newRow("dots") << "de_DE" << "2026.12.6 23:00:00" << evening << false;

        QTest::newRow("empty") << "zh_CN" << "" << no << false;
        QTest::newRow("time alone") << "zh_CN" << "10:15:42" << no << false;
        QTest::newRow("30 February") << "zh_CN" << "2026/2/30 10:00:00" << no << false;
        QTest::newRow("hour 24") << "zh_CN" << "2026/12/6 24:00:00" << no << false;
        QTest::newRow("day words without the day") << "zh_CN" << "2026年12月 23:00" << no << false;
        QTest::newRow("two-digit year is not guessed") << "zh_CN" << "26/12/6 10:15:42" << no << false;
        QTest::newRow("mixed separators") << "zh_CN" << "2026/12-6 10:00:00" << no << false;
        QTest::newRow("trailing words") << "zh_CN" << "2026/12/6 10:15:42 明天" << no << false;
        // Day and month are never swapped to make a text fit.
        QTest::newRow("US order under Chinese locale") << "zh_CN" << "12/6/2026 10:15:42" << no << false;
        QTest::newRow("day first under en_US") << "en_US" << "31/12/2026 10:15:42 AM" << no << false;
    }

    void parse()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QFETCH(bool, written);
        const DateTimeText dateTimeText{QLocale(locale)};
        QCOMPARE(dateTimeText.parse(text).value_or(QDateTime()), expected);
        if (written)
            QCOMPARE(dateTimeText.format(expected), text);
    }

    void wallClockIgnoresDaylightSaving()
    {
        // In Berlin 02:30 on 29 March 2026 does not exist on the local clock.
        // An alarm set there must still read back and come due half an hour
        // after 02:00 on the wall clock, not vanish or shift.
        const QByteArray savedZone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
        const auto due = DateTimeText(QLocale(QStringLiteral("de_DE"))).parse(QStringLiteral("2026/3/29 2:30:00"));
        qputenv("TZ", savedZone);
        tzset();

        QVERIFY(due.has_value());
        QCOMPARE(ElapsedMinutes(*due, Wall(2026, 3, 29, 3)), qint64(30));
        // Both ends are cut to the minute before they are compared.
        QCOMPARE(ElapsedMinutes(*due, Wall(2026, 3, 29, 2, 29, 59)), qint64(-1));
        QCOMPARE(ElapsedMinutes(*due, Wall(2026, 3, 29, 2, 30, 59)), qint64(0));
        QCOMPARE(ElapsedMinutes(Wall(2026, 12, 31, 23, 59, 59), Wall(2027, 1, 1)), qint64(1));
    }
};

NELOCLOCK_TEST(TestAlarmLine)
#include "test_alarm_line.moc"
