#include "test_registry.h"
#include "entry_panel.h"

#include "alarm_entry.h"
#include "date_time_text.h"
#include "fake_clock.h"

#include <QtTest>

namespace {

QDateTime At(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

class EntryPanelTest final : public QObject
{
    Q_OBJECT

private:
    FakeClock m_clock{At(6, 10, 15, 42)};
    DateTimeText m_text;
    EntryPanel m_panel{m_clock, m_text};

    QString T(int day, int hour, int minute, int second) const { return m_text.format(At(day, hour, minute, second)); }

private Q_SLOTS:
    void init() { m_clock.set(At(6, 10, 15, 42)); }

    void recomputesAlarmTime_data()
    {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("shownBefore");
        QTest::addColumn<QString>("shownAfter");

        const QString earlier = T(6, 8, 0, 0);
        QTest::newRow("1 h 30 min from now") << "01" << "30" << earlier << T(6, 11, 45, 42);
        QTest::newRow("nothing remaining is now") << "00" << "00" << earlier << T(6, 10, 15, 42);
        QTest::newRow("past midnight") << "23" << "59" << earlier << T(7, 10, 14, 42);
        QTest::newRow("typed with blanks and signs") << " 2 " << "-15" << earlier << T(6, 12, 0, 42);
        QTest::newRow("negative hours move back") << "-1" << "0" << earlier << T(6, 9, 15, 42);
        QTest::newRow("fraction of an hour") << "1.5" << "0" << earlier << T(6, 11, 45, 42);
        QTest::newRow("hours unreadable: minutes go onto what was shown")
            << "" << "30" << earlier << T(6, 8, 30, 0);
        QTest::newRow("minutes unreadable: now plus the hours") << "01" << "x" << earlier << T(6, 11, 15, 42);
        QTest::newRow("minutes empty: now plus the hours") << "01" << "" << earlier << T(6, 11, 15, 42);
        QTest::newRow("both unreadable: unchanged") << "a" << "b" << earlier << earlier;
        QTest::newRow("hours unreadable, shown text not a date: unchanged") << "" << "30" << "xyz" << "xyz";
        QTest::newRow("hours beyond any date: minutes onto what was shown")
            << "1e9" << "5" << earlier << T(6, 8, 5, 0);
        QTest::newRow("minutes beyond any date: now plus the hours") << "1" << "1e12" << earlier << T(6, 11, 15, 42);
    }

    void recomputesAlarmTime()
    {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, shownBefore);
        QFETCH(QString, shownAfter);

        EntryPanelState state;
        state.hours = hours;
        state.minutes = minutes;
        state.alarmTime = shownBefore;
        m_panel.recomputeAlarmTime(state);
        QCOMPARE(state.alarmTime, shownAfter);
    }

    void typeTurnsFieldsOnAndOff_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("textOn");
        QTest::addColumn<bool>("actionOn");

        QTest::newRow("sound and action") << "声音及附加动作" << false << true;
        QTest::newRow("sound and text") << "声音及文本提醒" << true << false;
        QTest::newRow("sound") << "声音提醒" << false << false;
        QTest::newRow("text box") << "文本框提醒" << true << false;
        QTest::newRow("action") << "附加动作" << false << true;
    }

    void typeTurnsFieldsOnAndOff()
    {
        QFETCH(QString, type);
        QFETCH(bool, textOn);
        QFETCH(bool, actionOn);

        // From both starting states, so a field left alone would show.
        for (const bool before : {false, true}) {
            EntryPanelState state;
            state.type = type;
            state.textEnabled = before;
            state.actionEnabled = before;
            m_panel.applyReminderType(state);
            QCOMPARE(state.textEnabled, textOn);
            QCOMPARE(state.actionEnabled, actionOn);
        }
    }

    void unknownTypeChangesNothing()
    {
        EntryPanelState state;
        state.type = QStringLiteral("声音提醒 ");
        state.textEnabled = true;
        state.actionEnabled = false;
        m_panel.applyReminderType(state);
        QVERIFY(state.textEnabled);
        QVERIFY(!state.actionEnabled);
    }

    void buildsAlarmLine_data()
    {
        QTest::addColumn<QString>("alarmTime");
        QTest::addColumn<QString>("advance");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("line");

        const QString alarm = T(6, 11, 45, 42);
        const QString farm = QStringLiteral("打开开心农场");
        const QString ripe = QStringLiteral("菜熟啦，赶紧偷啊");
        QTest::newRow("sound, 2 minutes early")
            << alarm << "2" << "声音提醒" << ripe << farm << T(6, 11, 43, 42) + QStringLiteral("|声音提醒||");
        QTest::newRow("text box keeps its text")
            << alarm << "2" << "文本框提醒" << "生日提醒" << farm << T(6, 11, 43, 42) + QStringLiteral("|文本框提醒|生日提醒|");
        QTest::newRow("action keeps its action")
            << alarm << "2" << "附加动作" << ripe << "关闭电脑" << T(6, 11, 43, 42) + QStringLiteral("|附加动作||关闭电脑");
        QTest::newRow("sound and action drops the shown text")
            << alarm << "2" << "声音及附加动作" << ripe << farm << T(6, 11, 43, 42) + QStringLiteral("|声音及附加动作||打开开心农场");
        QTest::newRow("sound and text drops the shown action")
            << alarm << "2" << "声音及文本提醒" << ripe << farm << T(6, 11, 43, 42) + QStringLiteral("|声音及文本提醒|") + ripe + QStringLiteral("|");
        QTest::newRow("advance 2.9 is 2") << alarm << "2.9" << "声音提醒" << ripe << farm
                                          << T(6, 11, 43, 42) + QStringLiteral("|声音提醒||");
        QTest::newRow("advance -1.5 is -2, later") << alarm << "-1.5" << "声音提醒" << ripe << farm
                                                   << T(6, 11, 47, 42) + QStringLiteral("|声音提醒||");
        QTest::newRow("advance 0") << alarm << "0" << "声音提醒" << ripe << farm << alarm + QStringLiteral("|声音提醒||");
        QTest::newRow("advance with blanks") << alarm << " 10 " << "声音提醒" << ripe << farm
                                             << T(6, 11, 35, 42) + QStringLiteral("|声音提醒||");
        QTest::newRow("advance empty: no due time") << alarm << "" << "声音提醒" << ripe << farm << "<nothing>";
        QTest::newRow("advance letters: no due time") << alarm << "abc" << "声音提醒" << ripe << farm << "<nothing>";
        QTest::newRow("alarm time unreadable: no due time")
            << "soon" << "2" << "文本框提醒" << ripe << farm << QStringLiteral("<nothing>");
        QTest::newRow("due at midnight is the date alone")
            << T(7, 0, 2, 0) << "2" << "声音提醒" << ripe << farm << m_text.format(At(7, 0, 0, 0)) + QStringLiteral("|声音提醒||");
        QTest::newRow("separator typed into the text stays")
            << alarm << "2" << "文本框提醒" << "a|b" << farm << T(6, 11, 43, 42) + QStringLiteral("|文本框提醒|a|b|");
    }

    void buildsAlarmLine()
    {
        QFETCH(QString, alarmTime);
        QFETCH(QString, advance);
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, action);
        QFETCH(QString, line);

        EntryPanelState state;
        state.alarmTime = alarmTime;
        state.advance = advance;
        state.type = type;
        state.text = text;
        state.action = action;
        m_panel.applyReminderType(state);
        QCOMPARE(m_panel.alarmLine(state).value_or(QStringLiteral("<nothing>")), line);
    }

    void alarmTimeIsFixedWhenChosenNotWhenAdded()
    {
        m_clock.set(At(6, 10, 0, 0));
        EntryPanelState state;
        state.hours = QStringLiteral("01");
        state.minutes = QStringLiteral("00");
        state.advance = QStringLiteral("2");
        state.type = QStringLiteral("声音提醒");
        m_panel.recomputeAlarmTime(state);
        m_clock.advance(20 * 60);
        QCOMPARE(m_panel.alarmLine(state).value_or(QString()), T(6, 10, 58, 0) + QStringLiteral("|声音提醒||"));
    }

    void linesReadBackToTheDueTime()
    {
        EntryPanelState state;
        state.hours = QStringLiteral("3");
        state.minutes = QStringLiteral("7");
        state.advance = QStringLiteral("5");
        state.type = QStringLiteral("声音提醒");
        m_panel.recomputeAlarmTime(state);
        const AlarmEntry entry = AlarmEntry::fromLine(m_panel.alarmLine(state).value_or(QString()));
        QCOMPARE(m_text.parse(entry.due), std::optional<QDateTime>(At(6, 13, 17, 42)));
    }
};

NELOCLOCK_TEST(EntryPanelTest)
#include "test_entry_panel.moc"
