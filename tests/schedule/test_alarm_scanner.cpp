#include "test_registry.h"
#include "alarm_list.h"
#include "alarm_outputs.h"
#include "alarm_scanner.h"
#include "date_time_text.h"
#include "fake_clock.h"
#include "site_addresses.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class ListOfLines final : public AlarmList
{
public:
    QStringList lines;

    int count() const override { return static_cast<int>(lines.size()); }
    QString lineAt(int position) const override { return lines.at(position); }
    void removeAt(int position) override { lines.removeAt(position); }
};

// Writes every output as one word, so a whole scan reads as one list.
class RecordingOutputs final : public AlarmOutputs
{
public:
    QStringList events;
    ListOfLines* list = nullptr;
    QStringList linesAtPowerOff;

    void playSound() override { events << QStringLiteral("sound"); }
    void showReminder(const QString& text) override { events << QStringLiteral("window:") + text; }
    void openUrl(const QString& address) override { events << QStringLiteral("open:") + address; }
    void powerOff() override
    {
        events << QStringLiteral("poweroff");
        linesAtPowerOff = list->lines;
    }
    void showAdPanel() override { events << QStringLiteral("panel"); }
};

// A clock that moves one minute on at every reading.
class MarchingClock final : public Clock
{
public:
    explicit MarchingClock(QDateTime start)
        : m_next(std::move(start))
    {
    }
    QDateTime now() const override
    {
        const QDateTime reading = m_next;
        m_next = m_next.addSecs(60);
        return reading;
    }

private:
    mutable QDateTime m_next;
};

// A scan over a recorded list, with the test's clock and sites.
struct Rig
{
    Rig(const Clock& clock, QSettings& settings, QStringList lines)
        : sites(settings)
        , scanner(list, outputs, clock, text, sites)
    {
        list.lines = std::move(lines);
        outputs.list = &list;
    }

    const DateTimeText text{QLocale(QLocale::Chinese, QLocale::China)};
    const SiteAddresses sites;
    ListOfLines list;
    RecordingOutputs outputs;
    AlarmScanner scanner;
};

QDateTime At(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second), Qt::UTC);
}

} // namespace

class TestAlarmScanner final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void scan_data();
    void scan();
    void readsTheClockAfreshForEachLine();
    void powerOffEndsThePassWithItsLineGone();
    void seesLinesEditedBetweenPasses();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;
};

void TestAlarmScanner::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    m_settings->setValue(QStringLiteral("sites/HappyFarm"), QStringLiteral("happy.test"));
    m_settings->setValue(QStringLiteral("sites/QQFarm"), QStringLiteral("qq.test"));
    m_settings->setValue(QStringLiteral("sites/Maker"), QStringLiteral("maker.test"));
}

void TestAlarmScanner::scan_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QStringList>("events");

    const QDateTime now = At(6, 10, 30, 5);
    const QString soundOnly = QStringLiteral("2026/12/6 10:30:45|声音提醒||");
    const QString later = QStringLiteral("2026/12/6 10:31:00|文本框提醒|稍后|");

    QTest::newRow("empty list: nothing, the panel untouched") << now << QStringList() << QStringList() << QStringList();
    QTest::newRow("due within the present minute, seconds ahead")
        << now << QStringList{soundOnly} << QStringList() << QStringList{"sound", "panel"};
    QTest::newRow("next minute is not due, a second before it")
        << At(6, 10, 30, 59) << QStringList{later} << QStringList{later} << QStringList();
    QTest::newRow("days old fires once")
        << now << QStringList{QStringLiteral("2026/12/1 8:00:00|文本框提醒|旧的|")} << QStringList()
        << QStringList{"window:旧的", "panel"};
    QTest::newRow("adjacent due lines fire in list order; the pending one stays")
        << now
        << QStringList{QStringLiteral("2026/12/6 10:00:00|文本框提醒|一|"),
                       QStringLiteral("2026/12/6 10:01:00|文本框提醒|二|"), later}
        << QStringList{later} << QStringList{"window:一", "window:二"};
    QTest::newRow("a due line among pending ones")
        << now << QStringList{later, soundOnly, later} << QStringList{later, later} << QStringList{"sound"};
    QTest::newRow("a type that matches nothing fires nothing and still leaves")
        << now << QStringList{QStringLiteral("2026/12/6 10:00:00|闹铃|x|打开QQ农场")} << QStringList()
        << QStringList{"panel"};
    QTest::newRow("an unreadable due time counts as due")
        << now << QStringList{QStringLiteral("|声音提醒||"), QStringLiteral("明天|文本框提醒|t|")} << QStringList()
        << QStringList{"sound", "window:t", "panel"};
    QTest::newRow("a bar typed into the text splits it: the rest is taken as the action")
        << now << QStringList{QStringLiteral("2026/12/6 10:00:00|声音及文本提醒|菜|熟了|")} << QStringList()
        << QStringList{"sound", "window:菜", "panel"};
    QTest::newRow("missing fields read as empty")
        << now << QStringList{QStringLiteral("2026/12/6 10:00:00|声音提醒")} << QStringList()
        << QStringList{"sound", "panel"};
    QTest::newRow("each site action opens its address")
        << now
        << QStringList{QStringLiteral("2026/12/6 10:00:00|附加动作||打开开心农场"),
                       QStringLiteral("2026/12/6 10:00:00|声音及附加动作||打开QQ农场"),
                       QStringLiteral("2026/12/6 10:00:00|附加动作||打开其他农场")}
        << QStringList() << QStringList{"open:happy.test", "sound", "open:qq.test", "open:maker.test/ad-tc.asp", "panel"};
    QTest::newRow("an unknown action reopens the address chosen earlier in the same pass")
        << now
        << QStringList{QStringLiteral("2026/12/6 10:00:00|附加动作||打开QQ农场"),
                       QStringLiteral("2026/12/6 10:00:00|附加动作||跳舞"),
                       QStringLiteral("2026/12/6 10:00:00|附加动作||")}
        << QStringList() << QStringList{"open:qq.test", "open:qq.test", "open:qq.test", "panel"};
    QTest::newRow("an unknown action alone opens the empty address")
        << now << QStringList{QStringLiteral("2026/12/6 10:00:00|附加动作||跳舞")} << QStringList()
        << QStringList{"open:", "panel"};
    QTest::newRow("an action on a text type is not performed")
        << now << QStringList{QStringLiteral("2026/12/6 10:00:00|文本框提醒|t|关闭电脑")} << QStringList()
        << QStringList{"window:t", "panel"};
}

void TestAlarmScanner::scan()
{
    QFETCH(QDateTime, now);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, remaining);
    QFETCH(QStringList, events);

    FakeClock clock(now);
    Rig rig(clock, *m_settings, lines);

    const int fired = rig.scanner.scan();

    QCOMPARE(rig.list.lines, remaining);
    QCOMPARE(rig.outputs.events, events);
    QCOMPARE(fired, lines.size() - remaining.size());
}

void TestAlarmScanner::readsTheClockAfreshForEachLine()
{
    // The first reading is 10:00, the second 10:01: only the second line,
    // due at 10:01, sees its minute arrive during this pass.
    MarchingClock clock(At(6, 10, 0, 0));
    const QString dueAtOne = QStringLiteral("2026/12/6 10:01:00|声音提醒||");
    Rig rig(clock, *m_settings, {dueAtOne, dueAtOne});

    QCOMPARE(rig.scanner.scan(), 1);
    QCOMPARE(rig.list.lines, QStringList{dueAtOne});
}

void TestAlarmScanner::powerOffEndsThePassWithItsLineGone()
{
    FakeClock clock(At(6, 10, 0, 0));
    const QString pending = QStringLiteral("2026/12/7 9:00:00|声音提醒||");
    const QString dueBelow = QStringLiteral("2026/12/6 9:00:00|声音提醒||");
    Rig rig(clock, *m_settings, {pending, QStringLiteral("2026/12/6 9:00:00|声音及附加动作||关闭电脑"), dueBelow});

    QCOMPARE(rig.scanner.scan(), 1);
    QCOMPARE(rig.outputs.events, (QStringList{"sound", "poweroff"}));
    // The power-off saw a list without its own line, and nothing below it
    // was looked at.
    QCOMPARE(rig.outputs.linesAtPowerOff, (QStringList{pending, dueBelow}));
    QCOMPARE(rig.list.lines, (QStringList{pending, dueBelow}));
}

void TestAlarmScanner::seesLinesEditedBetweenPasses()
{
    // The scan remembers what it read at each position; whatever the user
    // changes in between must still be judged by its own due time.
    FakeClock clock(At(6, 10, 0, 0));
    const QString tomorrow = QStringLiteral("2026/12/7 9:00:00|文本框提醒|明天|");
    const QString atFive = QStringLiteral("2026/12/6 10:05:00|文本框提醒|五分|");
    const QString atTen = QStringLiteral("2026/12/6 10:10:00|文本框提醒|十分|");
    Rig rig(clock, *m_settings, {tomorrow, atTen, atFive});

    QCOMPARE(rig.scanner.scan(), 0);
    // A line replaced in place, one deleted above others, one appended.
    rig.list.lines[0] = QStringLiteral("2026/12/6 9:00:00|文本框提醒|改过|");
    rig.list.lines.removeAt(1);
    rig.list.lines.append(atTen);
    QCOMPARE(rig.scanner.scan(), 1);
    QCOMPARE(rig.list.lines, (QStringList{atFive, atTen}));

    clock.set(At(6, 10, 5, 0));
    QCOMPARE(rig.scanner.scan(), 1);
    clock.set(At(6, 10, 10, 0));
    QCOMPARE(rig.scanner.scan(), 1);
    QCOMPARE(rig.outputs.events, (QStringList{"window:改过", "window:五分", "window:十分", "panel"}));
}

NELOCLOCK_TEST(TestAlarmScanner)
#include "test_alarm_scanner.moc"
