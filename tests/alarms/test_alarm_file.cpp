#include "alarm_file.h"
#include "date_time_text.h"
#include "fake_clock.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Gb18030(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QStringEncoder("GB18030").encode(line) + "\r\n";
    return bytes;
}

} // namespace

class TestAlarmFile final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void load_data();
    void load();
    void saveWritesEveryLineWithCrLf_data();
    void saveWritesEveryLineWithCrLf();
    void readsAChineseWindowsFile();
    void keepsEveryCharacter();
    void acceptsOtherLineEnds();
    void failedSaveLeavesTheOldFile();
    void unwritableFolder();
    void missingFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
    const DateTimeText m_text{QLocale(QLocale::Chinese, QLocale::China)};
    // 10:15:42 on 6 December 2026
    FakeClock m_clock;
};

void TestAlarmFile::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestAlarmFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("alarm.ini"));
}

void TestAlarmFile::load_data()
{
    QTest::addColumn<QStringList>("fileLines");
    QTest::addColumn<bool>("clearExpired");
    QTest::addColumn<QStringList>("kept");

    const QString present = QStringLiteral("2026/12/6 10:15:00|声音提醒||");
    const QString minuteAgo = QStringLiteral("2026/12/6 10:14:59|声音提醒||");
    const QString expiredPowerOff = QStringLiteral("2026/12/6 9:00:00|附加动作||关闭电脑");
    const QString expiredSite = QStringLiteral("2026/12/6 9:00:00|附加动作||打开QQ农场");
    const QString tomorrow = QStringLiteral("2026/12/7 9:00:00|文本框提醒|生日提醒|");

    QTest::newRow("the saved empty list") << QStringList{""} << true << QStringList();
    QTest::newRow("10 characters skipped, 11 examined")
        << QStringList{"|声音提醒|1234", "|声音提醒|12345"} << true << QStringList{"|声音提醒|12345"};
    QTest::newRow("Chinese characters count one each")
        << QStringList{"菜熟啦菜熟啦菜熟啦菜", "菜熟啦菜熟啦菜熟啦菜熟"} << true << QStringList{"菜熟啦菜熟啦菜熟啦菜熟"};
    QTest::newRow("an emoji counts one") << QStringList{"|声音提醒|123😀"} << true << QStringList();
    QTest::newRow("present minute kept whatever the option") << QStringList{present} << true << QStringList{present};
    QTest::newRow("a minute ago dropped when clearing") << QStringList{minuteAgo} << true << QStringList();
    QTest::newRow("a minute ago kept when not clearing") << QStringList{minuteAgo} << false << QStringList{minuteAgo};
    QTest::newRow("expired power-off always dropped")
        << QStringList{expiredPowerOff, expiredSite} << false << QStringList{expiredSite};
    QTest::newRow("clearing drops every expired line")
        << QStringList{expiredPowerOff, expiredSite, tomorrow} << true << QStringList{tomorrow};
    QTest::newRow("duplicates kept in file order")
        << QStringList{tomorrow, present, tomorrow} << true << QStringList{tomorrow, present, tomorrow};
    // An unreadable due time cannot be judged: the line stays, and the scan
    // fires it at once.
    QTest::newRow("unreadable due time kept") << QStringList{"不是日期|声音提醒||"} << true
                                              << QStringList{"不是日期|声音提醒||"};
}

void TestAlarmFile::load()
{
    QFETCH(QStringList, fileLines);
    QFETCH(bool, clearExpired);
    QFETCH(QStringList, kept);

    WriteBytes(m_path, Gb18030(fileLines));
    QCOMPARE(LoadAlarmFile(m_path, clearExpired, m_clock, m_text), kept);
}

void TestAlarmFile::saveWritesEveryLineWithCrLf_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty list is one empty line") << QStringList() << QByteArray("\r\n");
    QTest::newRow("three lines in order")
        << QStringList{"2026/12/7 9:00:00|声音提醒||", "2026/12/8 9:00:00|声音提醒||", "2026/12/7 9:00:00|声音提醒||"}
        << QByteArray("2026/12/7 9:00:00|\xc9\xf9\xd2\xf4\xcc\xe1\xd0\xd1||\r\n"
                      "2026/12/8 9:00:00|\xc9\xf9\xd2\xf4\xcc\xe1\xd0\xd1||\r\n"
                      "2026/12/7 9:00:00|\xc9\xf9\xd2\xf4\xcc\xe1\xd0\xd1||\r\n");
}

void TestAlarmFile::saveWritesEveryLineWithCrLf()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);

    QVERIFY(SaveAlarmFile(m_path, lines));
    QCOMPARE(ReadBytes(m_path), bytes);
    QCOMPARE(LoadAlarmFile(m_path, true, m_clock, m_text), lines);
}

void TestAlarmFile::readsAChineseWindowsFile()
{
    // A line as Chinese Windows writes it in code page 936.
    const QByteArray gbk = QByteArray::fromHex(
        "323032362f31322f362031303a31353a34327cc9f9d2f4bcb0cec4b1becce1d0d17cb2cbcaecc0b2a3acb8cfbdf4cdb5b0a17c");
    WriteBytes(m_path, gbk + "\r\n");
    const QStringList lines = LoadAlarmFile(m_path, true, m_clock, m_text);
    QCOMPARE(lines, QStringList{QStringLiteral("2026/12/6 10:15:42|声音及文本提醒|菜熟啦，赶紧偷啊|")});
    // Saved again, the bytes are the same as before.
    QVERIFY(SaveAlarmFile(m_path, lines));
    QCOMPARE(ReadBytes(m_path), gbk + "\r\n");
}

void TestAlarmFile::keepsEveryCharacter()
{
    // Characters outside GBK (an emoji, a rare ideograph, a Euro sign) must
    // come back, not turn into "?".
    const QStringList lines{QStringLiteral("2026/12/7 9:00:00|文本框提醒|收菜😀𠀀€ é|"),
                            QStringLiteral("2026/12/7 9:30:00|文本框提醒|ｆｕｌｌ　width|")};
    QVERIFY(SaveAlarmFile(m_path, lines));
    QVERIFY(!ReadBytes(m_path).contains('?'));
    QVERIFY(ReadBytes(m_path).contains(QByteArray::fromHex("9439fc36")));
    QCOMPARE(LoadAlarmFile(m_path, true, m_clock, m_text), lines);
}

void TestAlarmFile::acceptsOtherLineEnds()
{
    WriteBytes(m_path, "2026/12/7 9:00:00|a||\n2026/12/7 9:01:00|b||\r2026/12/7 9:02:00|c||");
    QCOMPARE(LoadAlarmFile(m_path, true, m_clock, m_text),
             (QStringList{"2026/12/7 9:00:00|a||", "2026/12/7 9:01:00|b||", "2026/12/7 9:02:00|c||"}));
}

void TestAlarmFile::failedSaveLeavesTheOldFile()
{
    const QStringList old{QStringLiteral("2026/12/7 9:00:00|声音提醒||")};
    QVERIFY(SaveAlarmFile(m_path, old));
    const QByteArray oldBytes = ReadBytes(m_path);

    // Files may not grow past 4 KiB: the disk is full halfway through.
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << QStringLiteral("2026/12/8 9:00:00|文本框提醒|第%1个|").arg(i);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved4k = SaveAlarmFile(m_path, many, &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!saved4k);
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReadBytes(m_path), oldBytes);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"alarm.ini"});
}

void TestAlarmFile::unwritableFolder()
{
    // Nobody, root included, creates files in /proc.
    const QString path = AlarmFilePath(QStringLiteral("/proc"));
    QVERIFY(!path.startsWith(QStringLiteral("/proc")));
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("alarm.ini"));
    QCOMPARE(QFileInfo(path).absolutePath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QVERIFY(SaveAlarmFile(path, {QStringLiteral("2026/12/7 9:00:00|声音提醒||")}));
    QFile::remove(path);

    QString error;
    QVERIFY(!SaveAlarmFile(QStringLiteral("/proc/alarm.ini"), {}, &error));
    QVERIFY(!error.isEmpty());

    // A writable program folder keeps the file beside the program, and
    // looking leaves nothing behind there.
    QCOMPARE(AlarmFilePath(m_dir->path()), m_path);
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TestAlarmFile::missingFile()
{
    QCOMPARE(LoadAlarmFile(m_path, false, m_clock, m_text), QStringList());
}

QTEST_GUILESS_MAIN(TestAlarmFile)
#include "test_alarm_file.moc"
