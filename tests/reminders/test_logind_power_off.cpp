#include "test_registry.h"
#include "logind_power_off.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Stands in for systemd-logind on a private bus. Each PowerOff call takes
// the next planned answer: "ok", "denied" or "silent" (no answer at all).
class FakeLogind final : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit FakeLogind(QStringList answers)
        : answers(std::move(answers))
    {
    }
    QStringList answers;
    QList<bool> requests;

public Q_SLOTS:
    void PowerOff(bool interactive)
    {
        requests << interactive;
        const QString answer = answers.isEmpty() ? QStringLiteral("ok") : answers.takeFirst();
        if (answer == u"denied")
            sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), QStringLiteral("Not allowed"));
        else if (answer == u"silent")
            setDelayedReply(true);
    }
};

} // namespace

class TestLogindPowerOff final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;

private Q_SLOTS:
    void initTestCase()
    {
        // A bus of our own: the system bus, and with it the real logind, is
        // never touched.
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                       QStringLiteral("--print-address"),
                                                       QStringLiteral("--address=unix:path=%1/bus").arg(m_dir.path())});
        QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon is needed (package dbus-daemon)");
        while (!m_daemon.canReadLine())
            QVERIFY(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(m_address.startsWith(QStringLiteral("unix:path=")));
    }

    void cleanupTestCase()
    {
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }

    void requests_data()
    {
        QTest::addColumn<bool>("onBus");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QList<bool>>("requests");
        QTest::addColumn<QString>("error");

        QTest::newRow("falls back to a request without interaction")
            << true << QStringList{"denied", "ok"} << QList<bool>{true, false} << QString();
        QTest::newRow("both refused") << true << QStringList{"denied", "denied"} << QList<bool>{true, false}
                                      << QStringLiteral("org.freedesktop.DBus.Error.AccessDenied");
        QTest::newRow("no answer at all") << true << QStringList{"silent", "silent"} << QList<bool>{true, false}
                                          << QStringLiteral("org.freedesktop.DBus.Error.NoReply");
        QTest::newRow("no logind on the bus")
            << false << QStringList() << QList<bool>() << QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown");
    }

    void requests()
    {
        QFETCH(bool, onBus);
        QFETCH(QStringList, answers);
        QFETCH(QList<bool>, requests);
        QFETCH(QString, error);

        // Both ends answer on this thread: the request must not block it.
        const QString tag = QString::fromUtf8(QTest::currentDataTag());
        FakeLogind fake(answers);
        QDBusConnection service = QDBusConnection::connectToBus(m_address, QStringLiteral("logind ") + tag);
        if (onBus) {
            QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/login1"), &fake,
                                           QDBusConnection::ExportAllSlots));
            QVERIFY(service.registerService(QStringLiteral("org.freedesktop.login1")));
        }
        auto disconnect = qScopeGuard([&] {
            QDBusConnection::disconnectFromBus(QStringLiteral("logind ") + tag);
            QDBusConnection::disconnectFromBus(QStringLiteral("client ") + tag);
        });

        QStringList messages;
        LogindPowerOff powerOff(QDBusConnection::connectToBus(m_address, QStringLiteral("client ") + tag),
                                [&messages](const QString& text) { messages << text; }, 300);
        int answered = 0;
        powerOff.shutDown([&answered] { ++answered; });
        QTRY_COMPARE_WITH_TIMEOUT(answered, 1, 5000);

        QCOMPARE(fake.requests, requests);
        QCOMPARE(messages.size(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty())
            QVERIFY2(messages.first().contains(error), qPrintable(messages.first()));
    }
};

NELOCLOCK_TEST(TestLogindPowerOff)
#include "test_logind_power_off.moc"
