#include "test_registry.h"
#include "logind_power_off.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

// Stands in for systemd-logind on a private bus. Each PowerOff call takes
// the next planned answer: "ok", "denied", "late" (ok after 150 ms) or
// "silent" (no answer at all).
class FakeLogind final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit FakeLogind(QStringList answers)
        : m_answers(std::move(answers))
    {
    }

    QList<bool> requests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

public Q_SLOTS:
    void PowerOff(bool interactive)
    {
        QString answer;
        {
            QMutexLocker lock(&m_mutex);
            m_requests << interactive;
            answer = m_answers.isEmpty() ? QStringLiteral("ok") : m_answers.takeFirst();
        }
        if (answer == QStringLiteral("denied"))
            sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("Not allowed here"));
        else if (answer == QStringLiteral("silent"))
            setDelayedReply(true);
        else if (answer == QStringLiteral("late")) {
            setDelayedReply(true);
            QThread::msleep(150);
            connection().send(message().createReply());
        }
    }

private:
    mutable QMutex m_mutex;
    QStringList m_answers;
    QList<bool> m_requests;
};

} // namespace

class TestLogindPowerOff final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void requests_data();
    void requests();

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

void TestLogindPowerOff::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // A bus of our own: the system bus, and with it the real logind, is never
    // touched.
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                    QStringLiteral("--address=unix:path=%1/bus").arg(m_dir.path())});
    QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon is needed (package dbus-daemon)");
    while (!m_daemon.canReadLine())
        QVERIFY(m_daemon.waitForReadyRead(10000));
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(m_address.startsWith(QStringLiteral("unix:path=")));
}

void TestLogindPowerOff::cleanupTestCase()
{
    m_daemon.terminate();
    m_daemon.waitForFinished(5000);
}

void TestLogindPowerOff::requests_data()
{
    QTest::addColumn<bool>("serviceOnBus");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QList<bool>>("expectedRequests");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("granted at once") << true << QStringList{QStringLiteral("ok")} << QList<bool>{true} << QString();
    QTest::newRow("granted late") << true << QStringList{QStringLiteral("late")} << QList<bool>{true} << QString();
    QTest::newRow("falls back to a request without interaction")
        << true << QStringList{QStringLiteral("denied"), QStringLiteral("ok")} << QList<bool>{true, false} << QString();
    QTest::newRow("both refused")
        << true << QStringList{QStringLiteral("denied"), QStringLiteral("denied")} << QList<bool>{true, false}
        << QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");
    QTest::newRow("no answer at all")
        << true << QStringList{QStringLiteral("silent"), QStringLiteral("silent")} << QList<bool>{true, false}
        << QStringLiteral("org.freedesktop.DBus.Error.NoReply");
    QTest::newRow("no logind on the bus")
        << false << QStringList() << QList<bool>() << QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown");
}

void TestLogindPowerOff::requests()
{
    QFETCH(bool, serviceOnBus);
    QFETCH(QStringList, answers);
    QFETCH(QList<bool>, expectedRequests);
    QFETCH(QString, expectedError);

    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    const QString serviceName = QStringLiteral("logind-") + tag;
    const QString clientName = QStringLiteral("client-") + tag;

    // The fake answers from a thread of its own, so that a late answer
    // cannot hold up the thread under test.
    QThread serviceThread;
    FakeLogind fake(answers);
    fake.moveToThread(&serviceThread);
    serviceThread.start();
    auto stopThread = qScopeGuard([&] {
        serviceThread.quit();
        serviceThread.wait();
    });

    {
        QDBusConnection service = QDBusConnection::connectToBus(m_address, serviceName);
        QVERIFY(service.isConnected());
        if (serviceOnBus) {
            QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/login1"), &fake,
                                           QDBusConnection::ExportAllSlots));
            QVERIFY(service.registerService(QStringLiteral("org.freedesktop.login1")));
        }
    }
    auto disconnect = qScopeGuard([&] {
        QDBusConnection::disconnectFromBus(serviceName);
        QDBusConnection::disconnectFromBus(clientName);
    });

    QStringList messages;
    const int timeoutMs = 300;
    LogindPowerOff powerOff(QDBusConnection::connectToBus(m_address, clientName),
                            [&messages](const QString& text) { messages << text; }, timeoutMs);
    QElapsedTimer elapsed;
    elapsed.start();
    int answered = 0;
    powerOff.shutDown([&answered] { ++answered; });
    // The request returns at once; the window's timers go on meanwhile.
    QVERIFY(elapsed.elapsed() < 100);
    int ticks = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&ticks] { ++ticks; });
    ticking.start(20);
    QTRY_COMPARE_WITH_TIMEOUT(answered, 1, 2 * timeoutMs + 2000);
    const qint64 tookMs = elapsed.elapsed();
    if (tookMs > 100)
        QVERIFY2(ticks > 0, qPrintable(QString::number(tookMs)));

    QCOMPARE(fake.requests(), expectedRequests);
    if (expectedError.isEmpty()) {
        QCOMPARE(messages, QStringList());
    } else {
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(expectedError), qPrintable(messages.first()));
    }
    // Two requests at most, each bounded by the call limit, far below the
    // bus's own default of 25 seconds.
    QVERIFY2(tookMs < 2 * timeoutMs + 2000, qPrintable(QString::number(tookMs)));
}

NELOCLOCK_TEST(TestLogindPowerOff)
#include "test_logind_power_off.moc"
