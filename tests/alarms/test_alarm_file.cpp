#include "test_registry.h"
#include "alarm_file.h"
#include "date_time_text.h"
#include "fake_clock.h"
#include "options.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestAlarmFile final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

private Q_SLOTS:
    void init()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(QStringLiteral("alarm.ini"));
    }

    void pending_data()
    {
        QTest::addColumn<QStringList>("fileLines");
        QTest::addColumn<bool>("clearExpired");
        QTest::addColumn<QStringList>("kept");

        // The clock stands at 10:15:42 on 6 December 2026.
        const QString present = QStringLiteral("2026/12/6 10:15:00|声音提醒||");
        const QString minuteAgo = QStringLiteral("2026/12/6 10:14:59|声音提醒||");
        const QString oldPowerOff = QStringLiteral("2026/12/6 9:00:00|附加动作||关闭电脑");
        const QString oldSite = QStringLiteral("2026/12/6 9:00:00|附加动作||打开QQ农场");
        const QString tomorrow = QStringLiteral("2026/12/7 9:00:00|文本框提醒|生日提醒|");

        QTest::newRow("the saved empty list") << QStringList{""} << true << QStringList();
        QTest::newRow("10 characters skipped, 11 examined")
            << QStringList{"|声音提醒|1234", "|声音提醒|12345"} << true << QStringList{"|声音提醒|12345"};
        QTest::newRow("an emoji counts one") << QStringList{"|声音提醒|123😀"} << true << QStringList();
        QTest::newRow("present minute kept when clearing") << QStringList{present} << true << QStringList{present};
        QTest::newRow("a minute ago dropped when clearing") << QStringList{minuteAgo} << true << QStringList();
        QTest::newRow("a minute ago kept when not clearing") << QStringList{minuteAgo} << false << QStringList{minuteAgo};
        QTest::newRow("expired power-off always dropped")
            << QStringList{oldPowerOff, oldSite, tomorrow} << false << QStringList{oldSite, tomorrow};
        // An unreadable due time cannot be judged: the line stays, and the scan
        // fires it at once.
        QTest::newRow("unreadable due time kept") << QStringList{"不是日期|声音提醒||"} << true
                                                  << QStringList{"不是日期|声音提醒||"};
    }

    void pending()
    {
        QFETCH(QStringList, fileLines);
        QFETCH(bool, clearExpired);
        QFETCH(QStringList, kept);

        WriteBytes(m_path, QStringEncoder("GB18030").encode(fileLines.join(QStringLiteral("\r\n")) + "\r\n"));
        const AlarmFileRead read = ReadAlarmFile(m_path);
        QCOMPARE(read.status, AlarmFileRead::Status::Read);
        const DateTimeText text{QLocale(QLocale::Chinese, QLocale::China)};
        QCOMPARE(PendingAlarmLines(read.lines, clearExpired, FakeClock(), text), kept);
    }

    void bytesOnDisk_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("empty list is one empty line") << QStringList() << QByteArray("\r\n");
        // A line as Chinese Windows writes it in code page 936, byte for byte.
        QTest::newRow("a GBK line from Chinese Windows")
            << QStringList{QStringLiteral("2026/12/6 10:15:42|声音及文本提醒|菜熟啦，赶紧偷啊|")}
            << QByteArray::fromHex("323032362f31322f362031303a31353a34327cc9f9d2f4bcb0cec4b1becce1d0d17cb2cbcaecc0b2a3"
                                   "acb8cfbdf4cdb5b0a17c0d0a");
        // Characters outside GBK must come back, not turn into "?".
        QTest::newRow("an emoji and a rare ideograph in order")
            << QStringList{QStringLiteral("2026/12/7 9:00:00|文本框提醒|😀|"), QStringLiteral("2026/12/7 9:00:00|a|𠀀|")}
            << QByteArray("2026/12/7 9:00:00|\xce\xc4\xb1\xbe\xbf\xf2\xcc\xe1\xd0\xd1|\x94\x39\xfc\x36|\r\n"
                          "2026/12/7 9:00:00|a|\x95\x32\x82\x36|\r\n");
    }

    void bytesOnDisk()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);

        // The saved empty list reads back as its one empty line.
        const QStringList read = lines.isEmpty() ? QStringList{""} : lines;
        QVERIFY(SaveAlarmFile(m_path, lines));
        QCOMPARE(ReadBytes(m_path), bytes);
        // Files edited elsewhere may end their lines in LF or CR alone.
        for (const char* end : {"\r\n", "\n", "\r"}) {
            WriteBytes(m_path, QByteArray(bytes).replace("\r\n", end));
            QCOMPARE(ReadAlarmFile(m_path).lines, read);
        }
    }

    void unreadable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("encoding");

        // Root reads every file, so the cases are made of what root cannot read
        // either.
        QTest::newRow("a folder named alarm.ini") << "folder" << QByteArray("GB18030");
        QTest::newRow("bytes that are not GB18030") << "bytes" << QByteArray("GB18030");
    }

    void unreadable()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, encoding);

        QCOMPARE(ReadAlarmFile(m_path, encoding.constData()).status, AlarmFileRead::Status::Missing);
        if (kind == u"folder")
            QVERIFY(QDir().mkdir(m_path));
        else
            WriteBytes(m_path, kind == u"bytes" ? QByteArray("2026/12/7 9:00:00|\x81\x20|\r\n") : QByteArray("a\r\n"));
        const AlarmFileRead read = ReadAlarmFile(m_path, encoding.constData());
        QCOMPARE(read.status, AlarmFileRead::Status::Unreadable);
        QVERIFY(read.lines.isEmpty());
        QVERIFY(!read.error.isEmpty());

        // Set aside whole, never over an earlier one.
        QCOMPARE(SetAsideUnreadable(m_path), std::optional(m_path + QStringLiteral(".unreadable")));
        WriteBytes(m_path, "second");
        QCOMPARE(SetAsideUnreadable(m_path), std::optional(m_path + QStringLiteral(".unreadable.2")));
        QCOMPARE(ReadBytes(m_path + QStringLiteral(".unreadable.2")), QByteArray("second"));
        QVERIFY(!QFileInfo::exists(m_path));
        QString error;
        QCOMPARE(SetAsideUnreadable(QStringLiteral("/proc/version"), &error), std::nullopt);
        QVERIFY(!error.isEmpty());
    }

    void failedSaveLeavesTheOldFile_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QString>("text");

        QTest::newRow("disk full halfway") << QByteArray("GB18030") << QStringLiteral("第%1个");
        QTest::newRow("no converter") << QByteArray("no-such-encoding") << QStringLiteral("第%1个");
        // A lone surrogate half cannot be written in any encoding.
        QTest::newRow("a character the converter cannot write") << QByteArray("GB18030") << QStringLiteral("%1") + QChar(0xD800);
    }

    void failedSaveLeavesTheOldFile()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QString, text);

        QVERIFY(SaveAlarmFile(m_path, {QStringLiteral("2026/12/7 9:00:00|声音提醒||")}));
        const QByteArray oldBytes = ReadBytes(m_path);
        QStringList many;
        for (int i = 0; i < 1000; ++i)
            many << QStringLiteral("2026/12/8 9:00:00|文本框提醒|%1|").arg(text.arg(i));

        // Files may not grow past 4 KiB: the disk is full halfway through.
        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 4096;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        QString error;
        const bool savedMany = SaveAlarmFile(m_path, many, &error, encoding.constData());
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!savedMany);
        QVERIFY(!error.isEmpty());
        QCOMPARE(ReadBytes(m_path), oldBytes);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"alarm.ini"});
    }

    void location_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("written");

        QTest::newRow("portable copy") << true << QStringList{"program", "user"} << "program" << "program";
        QTest::newRow("read-only folder with its own file") << false << QStringList{"program"} << "program" << "user";
        QTest::newRow("the per-user file wins once it exists") << false << QStringList{"program", "user"} << "user"
                                                               << "user";
    }

    void location()
    {
        QFETCH(bool, writable);
        QFETCH(QStringList, present);
        QFETCH(QString, read);
        QFETCH(QString, written);

        const auto in = [this](const QString& folder) { return m_dir->filePath(folder + QStringLiteral("/alarm.ini")); };
        for (const QString& folder : {QStringLiteral("program"), QStringLiteral("user")}) {
            QVERIFY(QDir(m_dir->path()).mkdir(folder));
            if (present.contains(folder))
                WriteBytes(in(folder), "\r\n");
        }
        const AlarmFileLocation location =
            LocateAlarmFile(m_dir->filePath(QStringLiteral("program")), writable, m_dir->filePath(QStringLiteral("user")));
        QCOMPARE(location.readPath, in(read));
        QCOMPARE(location.writePath, in(written));

        // The probe of a real program folder: nobody, root included, creates
        // files in /proc, and a writable folder is left as it was.
        if (writable) {
            QVERIFY(!LocateAlarmFile(QStringLiteral("/proc")).writePath.startsWith(QStringLiteral("/proc")));
            QCOMPARE(LocateAlarmFile(m_dir->path()).writePath, m_path);
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
    }

    void options_data()
    {
        // Stored texts; a null QString means the key is missing.
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("clear");
        QTest::addColumn<QString>("autoRun");
        QTest::addColumn<QString>("restoredTime");
        QTest::addColumn<int>("restoredClear"); // -1: the box keeps its designed state
        QTest::addColumn<int>("restoredAuto");

        QTest::newRow("missing keys, empty advance") << "" << QString() << QString() << "" << 1 << 0;
        QTest::newRow("not numbers") << "abc" << "abc" << "" << "abc" << -1 << -1;
        QTest::newRow("grayed counts, 3 does not") << "2" << "2" << "3" << "2" << 2 << -1;
        QTest::newRow("blanks around, below 0") << "2" << " 1 " << "-1" << "2" << 1 << -1;
        QTest::newRow("half to even") << "2" << "0.5" << "1.5" << "2" << 0 << 2;
        QTest::newRow("not a finite number") << "2" << "inf" << "nan" << "2" << -1 << -1;
    }

    void options()
    {
        QFETCH(QString, time);
        QFETCH(QString, clear);
        QFETCH(QString, autoRun);
        QFETCH(QString, restoredTime);
        QFETCH(int, restoredClear);
        QFETCH(int, restoredAuto);

        QSettings settings(m_dir->filePath(QStringLiteral("NeloClock.ini")), QSettings::IniFormat);
        for (const auto& [key, value] : {std::pair{"Time", time}, {"Clear", clear}, {"Auto", autoRun}}) {
            if (!value.isNull())
                settings.setValue(QStringLiteral("option/") + QLatin1String(key), value);
        }
        const Options::Restored restored = Options(settings).load();
        QCOMPARE(restored.time, restoredTime);
        QCOMPARE(restored.clear.value_or(-1), restoredClear);
        QCOMPARE(restored.autoRun.value_or(-1), restoredAuto);
    }
};

NELOCLOCK_TEST(TestAlarmFile)
#include "test_alarm_file.moc"
