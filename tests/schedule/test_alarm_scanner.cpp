#include "test_registry.h"
#include "alarm_list.h"
#include "alarm_outputs.h"
#include "alarm_scanner.h"
#include "date_time_text.h"
#include "fake_clock.h"
#include "media_alarm_sound.h"
#include "site_addresses.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QDateTime At(int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second), Qt::UTC);
}

// The list and every output in one: a whole scan reads as one list of words.
struct Rig final : AlarmList, AlarmOutputs
{
    Rig(const Clock& clock, QSettings& settings, QStringList start)
        : lines(std::move(start))
        , sites(settings)
        , scanner(*this, *this, clock, text, sites)
    {
    }

    int count() const override { return static_cast<int>(lines.size()); }
    QString lineAt(int position) const override { return lines.at(position); }
    void removeAt(int position) override { lines.removeAt(position); }
    void playSound() override { events << QStringLiteral("sound"); }
    void showReminder(const QString& text) override { events << QStringLiteral("window:") + text; }
    void openUrl(const QString& address) override { events << QStringLiteral("open:") + address; }
    void powerOff() override { events << QStringLiteral("poweroff:%1").arg(lines.size()); }
    void showAdPanel() override { events << QStringLiteral("panel"); }

    QStringList lines;
    QStringList events;
    const DateTimeText text{QLocale(QLocale::Chinese, QLocale::China)};
    const SiteAddresses sites;
    AlarmScanner scanner;
};

// A clock that moves one minute on at every reading.
struct MarchingClock final : Clock
{
    QDateTime now() const override { return (next = next.addSecs(60)).addSecs(-60); }
    mutable QDateTime next = At(6, 10, 0);
};

} // namespace

class TestAlarmScanner final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;

private Q_SLOTS:
    void initTestCase()
    {
        m_settings = std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
        m_settings->setValue(QStringLiteral("sites/HappyFarm"), QStringLiteral("happy.test"));
        m_settings->setValue(QStringLiteral("sites/QQFarm"), QStringLiteral("qq.test"));
        m_settings->setValue(QStringLiteral("sites/Maker"), QStringLiteral("maker.test"));
    }

    void scan_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<QStringList>("events");

        const QDateTime now = At(6, 10, 30, 5);
        const QString sound = QStringLiteral("2026/12/6 10:30:45|声音提醒||");
        const QString later = QStringLiteral("2026/12/6 10:31:00|文本框提醒|稍后|");
        const auto action = [](const char* what) { return QStringLiteral("2026/12/6 10:00:00|附加动作||") + what; };

        QTest::newRow("empty list: the panel untouched") << now << QStringList() << QStringList() << QStringList();
        QTest::newRow("due within the present minute, seconds ahead")
            << now << QStringList{sound} << QStringList() << QStringList{"sound", "panel"};
        QTest::newRow("next minute is not due, a second before it")
            << At(6, 10, 30, 59) << QStringList{later} << QStringList{later} << QStringList();
        QTest::newRow("adjacent due lines fire in list order; the pending one stays")
            << now
            << QStringList{QStringLiteral("2026/12/6 10:00:00|文本框提醒|一|"),
                           QStringLiteral("2026/12/6 10:01:00|文本框提醒|二|"), later}
            << QStringList{later} << QStringList{"window:一", "window:二"};
        QTest::newRow("a type that matches nothing fires nothing and still leaves")
            << now << QStringList{QStringLiteral("2026/12/6 10:00:00|闹铃|x|打开QQ农场")} << QStringList()
            << QStringList{"panel"};
        QTest::newRow("an unreadable due time counts as due")
            << now << QStringList{QStringLiteral("|声音提醒||"), QStringLiteral("明天|声音及文本提醒|t|")} << QStringList()
            << QStringList{"sound", "sound", "window:t", "panel"};
        QTest::newRow("each site action opens its address")
            << now
            << QStringList{action("打开开心农场"), QStringLiteral("2026/12/6 10:00:00|声音及附加动作||打开QQ农场"),
                           action("打开其他农场")}
            << QStringList() << QStringList{"open:happy.test", "sound", "open:qq.test", "open:maker.test/ad-tc.asp", "panel"};
        // An action text that names no site opens the address of the last site
        // action in the same pass, the empty one before any.
        QTest::newRow("an unknown action reopens the address chosen before")
            << now << QStringList{action("跳舞"), action("打开QQ农场"), action("")} << QStringList()
            << QStringList{"open:", "open:qq.test", "open:qq.test", "panel"};
        QTest::newRow("an action on a text type is not performed")
            << now << QStringList{QStringLiteral("2026/12/6 10:00:00|文本框提醒|t|关闭电脑")} << QStringList()
            << QStringList{"window:t", "panel"};
    }

    void scan()
    {
        QFETCH(QDateTime, now);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, remaining);
        QFETCH(QStringList, events);

        FakeClock clock(now);
        Rig rig(clock, *m_settings, lines);
        QCOMPARE(rig.scanner.scan(), lines.size() - remaining.size());
        QCOMPARE(rig.lines, remaining);
        QCOMPARE(rig.events, events);
    }

    void readsTheClockAfreshForEachLine()
    {
        // The first reading is 10:00, the second 10:01: only the second line,
        // due at 10:01, sees its minute arrive during this pass.
        MarchingClock clock;
        const QString dueAtOne = QStringLiteral("2026/12/6 10:01:00|声音提醒||");
        Rig rig(clock, *m_settings, {dueAtOne, dueAtOne});
        QCOMPARE(rig.scanner.scan(), 1);
        QCOMPARE(rig.lines, QStringList{dueAtOne});
    }

    void powerOffEndsThePassWithItsLineGone()
    {
        FakeClock clock(At(6, 10, 0));
        const QString pending = QStringLiteral("2026/12/7 9:00:00|声音提醒||");
        const QString dueBelow = QStringLiteral("2026/12/6 9:00:00|声音提醒||");
        Rig rig(clock, *m_settings, {pending, QStringLiteral("2026/12/6 9:00:00|声音及附加动作||关闭电脑"), dueBelow});

        // The power-off sees a list without its own line (2 lines, not 3), and
        // nothing below it is looked at.
        QCOMPARE(rig.scanner.scan(), 1);
        QCOMPARE(rig.events, (QStringList{"sound", "poweroff:2"}));
        QCOMPARE(rig.lines, (QStringList{pending, dueBelow}));
    }

    void seesLinesEditedBetweenPasses()
    {
        // The scan remembers what it read at each position; whatever the user
        // changes in between must still be judged by its own due time.
        FakeClock clock(At(6, 10, 0));
        const QString atFive = QStringLiteral("2026/12/6 10:05:00|文本框提醒|五分|");
        const QString atTen = QStringLiteral("2026/12/6 10:10:00|文本框提醒|十分|");
        Rig rig(clock, *m_settings, {QStringLiteral("2026/12/7 9:00:00|文本框提醒|明天|"), atTen, atFive});

        QCOMPARE(rig.scanner.scan(), 0);
        // A line replaced in place, one deleted above others, one appended.
        rig.lines[0] = QStringLiteral("2026/12/6 9:00:00|文本框提醒|改过|");
        rig.lines.removeAt(1);
        rig.lines.append(atTen);
        QCOMPARE(rig.scanner.scan(), 1);
        QCOMPARE(rig.lines, (QStringList{atFive, atTen}));
        clock.set(At(6, 10, 5));
        QCOMPARE(rig.scanner.scan(), 1);
        clock.set(At(6, 10, 10));
        QCOMPARE(rig.scanner.scan(), 1);
        QCOMPARE(rig.events, (QStringList{"window:改过", "window:五分", "window:十分", "panel"}));
    }
};

NELOCLOCK_TEST(TestAlarmScanner)

// Every player's life goes into one log, numbered by player, so a test sees
// the order of calls across players.
struct RecordingPlayer final : MediaAlarmSound::Player
{
    RecordingPlayer(QStringList& log, int number)
        : log(log)
        , number(QString::number(number))
    {
        log << "make " + this->number;
    }
    ~RecordingPlayer() override { log << "destroy " + number; }
    void setSource(const QUrl& source) override { log << number + " plays " + source.toLocalFile(); }
    void play() override { log << "play " + number; }

    QStringList& log;
    const QString number;
};

class TestMediaAlarmSound final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachAlarmSilencesTheOneBefore()
    {
        QTemporaryDir folder;
        const QString wav = folder.filePath(QStringLiteral("alarm.wav"));
        QStringList log;
        {
            MediaAlarmSound sound(folder.path(), [&log, made = 0]() mutable {
                return std::make_unique<RecordingPlayer>(log, ++made);
            });
            // No file yet: no backend is loaded for nothing.
            sound.play();
            QCOMPARE(log, QStringList());

            QFile file(wav);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            sound.play();
            // The first player is gone, and silent, before the second one
            // starts the file from its beginning.
            sound.play();
            QCOMPARE(log, (QStringList{"make 1", "1 plays " + wav, "play 1", "destroy 1", "make 2", "2 plays " + wav,
                                       "play 2"}));

            // The file vanishes while the program runs: the last sound still
            // stops, and no new one starts.
            QVERIFY(QFile::remove(wav));
            log.clear();
            sound.play();
            QCOMPARE(log, QStringList{"destroy 2"});
            sound.play();
            QVERIFY(file.open(QIODevice::WriteOnly));
            sound.play();
        }
        // The sound going away takes its last player with it.
        QCOMPARE(log, (QStringList{"destroy 2", "make 3", "3 plays " + wav, "play 3", "destroy 3"}));
    }
};

NELOCLOCK_TEST(TestMediaAlarmSound)
#include "test_alarm_scanner.moc"
