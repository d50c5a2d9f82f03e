#include "test_registry.h"
#include "media_alarm_sound.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes every player's life into a shared log, numbered by player, so a test
// sees the order of calls across players.
class RecordingPlayer final : public MediaAlarmSound::Player
{
public:
    RecordingPlayer(QStringList& log, int number)
        : m_log(log)
        , m_number(number)
    {
        m_log << QStringLiteral("make %1").arg(m_number);
    }
    ~RecordingPlayer() override { m_log << QStringLiteral("destroy %1").arg(m_number); }

    void setSource(const QUrl& source) override
    {
        m_log << QStringLiteral("setSource %1 ").arg(m_number) + source.toLocalFile();
    }
    void play() override { m_log << QStringLiteral("play %1").arg(m_number); }

private:
    QStringList& m_log;
    int m_number;
};

MediaAlarmSound::PlayerFactory Recorder(QStringList& log)
{
    return [&log, made = 0]() mutable { return std::make_unique<RecordingPlayer>(log, ++made); };
}

void WriteFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RIFF");
}

} // namespace

class TestMediaAlarmSound final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void calls_data();
    void calls();
    void playerIsMadeOnlyWhenNeeded();
    void realPlayerReturnsAtOnceAndNeverCrashes_data();
    void realPlayerReturnsAtOnceAndNeverCrashes();
};

void TestMediaAlarmSound::calls_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<int>("plays");
    QTest::addColumn<QStringList>("expected");

    // %1 stands for the full path of alarm.wav.
    const QStringList first{QStringLiteral("make 1"), QStringLiteral("setSource 1 %1"), QStringLiteral("play 1")};
    // The first player is gone (and silent) before the second one starts,
    // which plays the file from its beginning.
    const QStringList second{QStringLiteral("destroy 1"), QStringLiteral("make 2"), QStringLiteral("setSource 2 %1"),
                             QStringLiteral("play 2")};

    QTest::newRow("first alarm") << QStringLiteral("bin") << true << 1 << first;
    QTest::newRow("second alarm stops the first and starts anew") << QStringLiteral("bin") << true << 2 << first + second;
    QTest::newRow("folder with blanks") << QStringLiteral("Nelo 闹钟 2.1") << true << 1 << first;
    QTest::newRow("no alarm.wav: silence") << QStringLiteral("bin") << false << 2 << QStringList();
}

void TestMediaAlarmSound::calls()
{
    QFETCH(QString, folderName);
    QFETCH(bool, fileExists);
    QFETCH(int, plays);
    QFETCH(QStringList, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(QDir(root.path()).mkpath(folderName));
    const QString folder = root.filePath(folderName);
    const QString wav = QDir(folder).filePath(QStringLiteral("alarm.wav"));
    if (fileExists)
        WriteFile(wav);

    QStringList log;
    {
        MediaAlarmSound sound(folder, Recorder(log));
        for (int i = 0; i < plays; ++i)
            sound.play();
    }

    for (QString& line : expected)
        line.replace(QStringLiteral("%1"), wav);
    // The sound going away takes its last player with it.
    if (!expected.isEmpty())
        expected << QStringLiteral("destroy %1").arg(plays);
    QCOMPARE(log, expected);
}

void TestMediaAlarmSound::playerIsMadeOnlyWhenNeeded()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QStringList log;
    MediaAlarmSound sound(folder.path(), Recorder(log));
    QCOMPARE(log, QStringList()); // nothing at start-up

    sound.play(); // no file yet: no backend is loaded for nothing
    QCOMPARE(log, QStringList());

    WriteFile(folder.filePath(QStringLiteral("alarm.wav")));
    sound.play();
    QCOMPARE(log.size(), 3);

    // The file vanishes while the program runs: the last sound still stops.
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("alarm.wav"))));
    log.clear();
    sound.play();
    QCOMPARE(log, QStringList{QStringLiteral("destroy 1")});
}

void TestMediaAlarmSound::realPlayerReturnsAtOnceAndNeverCrashes_data()
{
    QTest::addColumn<bool>("withFile");

    QTest::newRow("the built alarm.wav") << true;
    QTest::newRow("no alarm.wav") << false;
}

// Runs the real Qt Multimedia backend; on CI there is no audio device, which
// must stay silent too.
void TestMediaAlarmSound::realPlayerReturnsAtOnceAndNeverCrashes()
{
    QFETCH(bool, withFile);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (withFile)
        QVERIFY(QFile::copy(QStringLiteral(NELOCLOCK_TEST_ALARM_WAV), folder.filePath(QStringLiteral("alarm.wav"))));

    QElapsedTimer elapsed;
    elapsed.start();
    {
        MediaAlarmSound sound(folder.path());
        sound.play();
        sound.play();
        // play() must not wait for the sound: well before the chime's own
        // 1.3 s it is back, even on a machine without audio.
        QVERIFY2(elapsed.elapsed() < 1300, qPrintable(QString::number(elapsed.elapsed())));
        // Let the backend get on with it before the player goes away.
        QTest::qWait(300);
    }
    // Reported, not judged: the machine may be busy.
    qInfo("two plays and teardown took %lld ms", static_cast<long long>(elapsed.elapsed()));
}

NELOCLOCK_TEST(TestMediaAlarmSound)
#include "test_media_alarm_sound.moc"
