#include "media_alarm_sound.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes every player call into a shared log, so a test sees them in order
// and across the player's life.
class RecordingPlayer final : public MediaAlarmSound::Player
{
public:
    explicit RecordingPlayer(QStringList& log)
        : m_log(log)
    {
    }

    void setSource(const QUrl& source) override
    {
        m_source = source;
        m_log << QStringLiteral("setSource ") + source.toLocalFile();
    }
    QUrl source() const override { return m_source; }
    void stop() override { m_log << QStringLiteral("stop"); }
    void setPosition(qint64 milliseconds) override { m_log << QStringLiteral("setPosition %1").arg(milliseconds); }
    void play() override { m_log << QStringLiteral("play"); }

private:
    QStringList& m_log;
    QUrl m_source;
};

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

    const QString start = QStringLiteral("setSource %1");
    const QStringList rewindAndPlay{QStringLiteral("setPosition 0"), QStringLiteral("play")};

    QTest::newRow("first alarm")
        << QStringLiteral("bin") << true << 1 << QStringList{start} + rewindAndPlay;
    QTest::newRow("second alarm stops the first and starts from the beginning")
        << QStringLiteral("bin") << true << 2
        << QStringList{start} + rewindAndPlay + QStringList{QStringLiteral("stop")} + rewindAndPlay;
    QTest::newRow("folder with blanks")
        << QStringLiteral("Nelo 闹钟 2.1") << true << 1 << QStringList{start} + rewindAndPlay;
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
    MediaAlarmSound sound(folder, [&log] { return std::make_unique<RecordingPlayer>(log); });
    for (int i = 0; i < plays; ++i)
        sound.play();

    if (!expected.isEmpty())
        expected[0] = expected[0].arg(wav);
    QCOMPARE(log, expected);
}

void TestMediaAlarmSound::playerIsMadeOnlyWhenNeeded()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    int made = 0;
    QStringList log;
    MediaAlarmSound sound(folder.path(), [&] {
        ++made;
        return std::make_unique<RecordingPlayer>(log);
    });
    QCOMPARE(made, 0);

    sound.play(); // no file yet: nothing to load a backend for
    QCOMPARE(made, 0);

    WriteFile(folder.filePath(QStringLiteral("alarm.wav")));
    sound.play();
    sound.play();
    QCOMPARE(made, 1);

    // The file vanishes while the program runs: the last sound still stops.
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("alarm.wav"))));
    log.clear();
    sound.play();
    QCOMPARE(log, QStringList{QStringLiteral("stop")});
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
        // Let the backend get on with it before the player goes away.
        QTest::qWait(300);
    }
    qInfo("two plays and teardown took %lld ms", static_cast<long long>(elapsed.elapsed()));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("alarm.wav"))) == withFile);
}

QTEST_MAIN(TestMediaAlarmSound)
#include "test_media_alarm_sound.moc"
