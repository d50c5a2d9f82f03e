#include "test_registry.h"
#include "shutdown_sequence.h"

#include <QHash>
#include <QTest>

using ErrorMap = QHash<QString, quint32>;

// Records every call by name; a call can leave a last-error code behind, as
// the row asks.
class RecordingCalls final : public ShutdownCalls
{
public:
    std::uint32_t version = 0;
    ErrorMap errorAfter;
    QStringList calls;
    QStringList messages;

    std::uint32_t getVersion() override { return record(QStringLiteral("GetVersion")), version; }
    void setLastError(std::uint32_t code) override { record(QStringLiteral("SetLastError %1").arg(m_lastError = code)); }
    std::uint32_t getLastError() override { return m_lastError; }
    void getCurrentProcess() override { record(QStringLiteral("GetCurrentProcess")); }
    void openProcessToken() override { record(QStringLiteral("OpenProcessToken")); }
    void lookupShutdownPrivilege() override { record(QStringLiteral("LookupPrivilegeValue")); }
    void adjustTokenPrivileges() override { record(QStringLiteral("AdjustTokenPrivileges")); }
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) override
    {
        record(QStringLiteral("ExitWindowsEx %1 %2").arg(flags).arg(reserved, 0, 16));
    }
    void showMessage(const std::string& text) override { messages << QString::fromStdString(text); }

private:
    void record(const QString& call)
    {
        calls << call;
        m_lastError = errorAfter.value(call, m_lastError);
    }

    std::uint32_t m_lastError = 0;
};

class TestShutdownSequence final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequence_data()
    {
        QTest::addColumn<quint32>("version");
        QTest::addColumn<ErrorMap>("errorAfter");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("outside the NT family only asks to shut down") << quint32(0x80000A04) << ErrorMap() << QStringList();
        QTest::newRow("NT enables the privilege first, silently when all is well")
            << quint32(0x0A280105) << ErrorMap() << QStringList();
        QTest::newRow("a missing privilege is reported and the request still made")
            << quint32(0x0A280105) << ErrorMap{{"AdjustTokenPrivileges", 1300}}
            << QStringList{"AdjustTokenPrivileges error==1300"};
        QTest::newRow("an error left standing is reported by the next step too")
            << quint32(0x0A280105) << ErrorMap{{"OpenProcessToken", 5}, {"AdjustTokenPrivileges", 0}}
            << QStringList{"OpenProcessToken error==5", "LookupPrivilegeValue error==5"};
    }

    void sequence()
    {
        QFETCH(quint32, version);
        QFETCH(ErrorMap, errorAfter);
        QFETCH(QStringList, messages);

        RecordingCalls calls;
        calls.version = version;
        calls.errorAfter = errorAfter;
        ShutDownPC(calls);

        QStringList expected{"GetVersion"};
        if (!(version & 0x80000000u)) {
            expected << "SetLastError 0" << "GetCurrentProcess" << "OpenProcessToken" << "LookupPrivilegeValue"
                     << "AdjustTokenPrivileges";
        }
        QCOMPARE(calls.calls, expected << "ExitWindowsEx 1 ffffffff");
        QCOMPARE(calls.messages, messages);
    }
};

NELOCLOCK_TEST(TestShutdownSequence)
#include "test_shutdown_sequence.moc"
