#include "test_registry.h"
#include "shutdown_sequence.h"

#include <QHash>
#include <QStringList>
#include <QTest>

namespace {

// Records every call by name; a call can leave a last-error code behind, as
// the row asks.
class RecordingCalls final : public ShutdownCalls
{
public:
    std::uint32_t version = 0x0A280105; // an NT version number
    QHash<QString, std::uint32_t> errorAfter;
    QStringList calls;
    QStringList messages;

    std::uint32_t getVersion() override
    {
        record(QStringLiteral("GetVersion"));
        return version;
    }
    void setLastError(std::uint32_t code) override
    {
        m_lastError = code;
        record(QStringLiteral("SetLastError %1").arg(code));
    }
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
        if (errorAfter.contains(call))
            m_lastError = errorAfter.value(call);
    }

    std::uint32_t m_lastError = 0;
};

const QStringList kPrivilegeSteps = {
    QStringLiteral("SetLastError 0"),       QStringLiteral("GetCurrentProcess"),
    QStringLiteral("OpenProcessToken"),     QStringLiteral("LookupPrivilegeValue"),
    QStringLiteral("AdjustTokenPrivileges"),
};
const QString kShutdown = QStringLiteral("ExitWindowsEx 1 ffffffff");

} // namespace

using ErrorMap = QHash<QString, std::uint32_t>;

class TestShutdownSequence final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequence_data();
    void sequence();
};

void TestShutdownSequence::sequence_data()
{
    QTest::addColumn<quint32>("version");
    QTest::addColumn<ErrorMap>("errorAfter");
    QTest::addColumn<QStringList>("expectedCalls");
    QTest::addColumn<QStringList>("expectedMessages");

    const QStringList nt = QStringList{QStringLiteral("GetVersion")} + kPrivilegeSteps;

    QTest::newRow("outside the NT family only asks to shut down")
        << quint32(0x80000A04) << ErrorMap() << QStringList{QStringLiteral("GetVersion"), kShutdown}
        << QStringList();
    QTest::newRow("NT enables the privilege first, silently when all is well")
        << quint32(0x0A280105) << ErrorMap() << nt + QStringList{kShutdown} << QStringList();
    QTest::newRow("a missing privilege is reported and the request still made")
        << quint32(0x0A280105) << ErrorMap{{QStringLiteral("AdjustTokenPrivileges"), 1300}}
        << nt + QStringList{kShutdown} << QStringList{QStringLiteral("AdjustTokenPrivileges error==1300")};
    QTest::newRow("an error left standing is reported by the next step too")
        << quint32(0x0A280105)
        << ErrorMap{{QStringLiteral("OpenProcessToken"), 5}, {QStringLiteral("AdjustTokenPrivileges"), 0}}
        << nt + QStringList{kShutdown}
        << QStringList{QStringLiteral("OpenProcessToken error==5"), QStringLiteral("LookupPrivilegeValue error==5")};
}

void TestShutdownSequence::sequence()
{
    QFETCH(quint32, version);
    QFETCH(ErrorMap, errorAfter);
    QFETCH(QStringList, expectedCalls);
    QFETCH(QStringList, expectedMessages);

    RecordingCalls calls;
    calls.version = version;
    calls.errorAfter = errorAfter;
    ShutDownPC(calls);

    QCOMPARE(calls.calls, expectedCalls);
    QCOMPARE(calls.messages, expectedMessages);
}

NELOCLOCK_TEST(TestShutdownSequence)
#include "test_shutdown_sequence.moc"
