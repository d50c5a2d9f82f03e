#include "test_registry.h"
#include "alarm_entry.h"
#include "date_time_text.h"

#include <QtTest>

class TestAlarmEntry final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fields_data();
    void fields();
    void build_data();
    void build();
    void fixedTexts();
};

void TestAlarmEntry::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("four fields") << "d|文本框提醒|生日提醒|" << QStringList{"d", "文本框提醒", "生日提醒", ""};
    QTest::newRow("fifth field ignored") << "d|t|x|y|z" << QStringList{"d", "t", "x", "y"};
    QTest::newRow("no bar: the whole line is the due field") << "2026/12/6" << QStringList{"2026/12/6", "", "", ""};
    QTest::newRow("two fields") << "d|声音提醒" << QStringList{"d", "声音提醒", "", ""};
    QTest::newRow("empty") << "" << QStringList{"", "", "", ""};
    // A bar typed into the text cuts it there; the rest reads as the action.
    QTest::newRow("bar in the text") << "d|声音及文本提醒|菜|熟了|" << QStringList{"d", "声音及文本提醒", "菜", "熟了"};
}

void TestAlarmEntry::fields()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    const AlarmEntry entry = AlarmEntry::fromLine(line);
    QCOMPARE((QStringList{entry.due, entry.type, entry.text, entry.action}), fields);
}

void TestAlarmEntry::build_data()
{
    QTest::addColumn<bool>("hasDue");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("line");

    QTest::newRow("sound") << true << "声音提醒" << "" << "" << "2026/12/6 11:43:42|声音提醒||";
    QTest::newRow("text box") << true << "文本框提醒" << "生日提醒" << "" << "2026/12/6 11:43:42|文本框提醒|生日提醒|";
    QTest::newRow("action") << true << "附加动作" << "" << "关闭电脑" << "2026/12/6 11:43:42|附加动作||关闭电脑";
    QTest::newRow("no due time") << false << "声音提醒" << "" << "" << "|声音提醒||";
    QTest::newRow("bar kept in the text") << true << "声音及文本提醒" << "a|b" << ""
                                          << "2026/12/6 11:43:42|声音及文本提醒|a|b|";
}

void TestAlarmEntry::build()
{
    QFETCH(bool, hasDue);
    QFETCH(QString, type);
    QFETCH(QString, text);
    QFETCH(QString, action);
    QFETCH(QString, line);

    const DateTimeText dateTimeText{QLocale(QLocale::Chinese, QLocale::China)};
    const std::optional<QDateTime> due = hasDue
        ? std::optional(QDateTime(QDate(2026, 12, 6), QTime(11, 43, 42), Qt::UTC))
        : std::nullopt;
    const QString built = BuildAlarmLine(due, type, text, action, dateTimeText);
    QCOMPARE(built, line);
    if (hasDue)
        QCOMPARE(dateTimeText.parse(AlarmEntry::fromLine(built).due), due);
}

void TestAlarmEntry::fixedTexts()
{
    // Offer order matters: the first of each list is the default choice.
    QCOMPARE(ReminderTypeTexts(), (QStringList{"声音及附加动作", "声音及文本提醒", "声音提醒", "文本框提醒", "附加动作"}));
    QCOMPARE(ExtraActionTexts(), (QStringList{"打开开心农场", "打开QQ农场", "打开其他农场", "关闭电脑"}));
    QCOMPARE(SuggestedReminderTexts(), (QStringList{"菜熟啦，赶紧偷啊", "重要提示哦", "生日提醒"}));
    // Matching is exact: width and case count.
    QCOMPARE(ExtraActionFromText(QStringLiteral("打开qq农场")), std::nullopt);
    QCOMPARE(ExtraActionFromText(QStringLiteral("打开ＱＱ农场")), std::nullopt);
    QCOMPARE(ReminderTypeFromText(QStringLiteral(" 声音提醒")), std::nullopt);
}

NELOCLOCK_TEST(TestAlarmEntry)
#include "test_alarm_entry.moc"
