#include "ie_command_line.h"

#include <QTest>

#include <optional>

// Wide strings go through QString so that QCOMPARE can print them.
namespace {
QString Text(const std::wstring& text)
{
    return QString::fromStdWString(text);
}
} // namespace

class TestIeCommandLine final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sysFolder_data();
    void sysFolder();
    void commandLine_data();
    void commandLine();
};

void TestIeCommandLine::sysFolder_data()
{
    QTest::addColumn<QString>("systemDirectory");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("expected");

    const QString system32 = QStringLiteral("C:\\WINDOWS\\system32");
    QTest::newRow("IE") << system32 << QStringLiteral("IE") << true
                        << QStringLiteral("C:\\Program Files\\Internet Explorer");
    QTest::newRow("WIN") << system32 << QStringLiteral("WIN") << true << QStringLiteral("C:\\WINDOWS");
    QTest::newRow("IE on another drive") << QStringLiteral("D:\\WINNT\\system32") << QStringLiteral("IE") << true
                                         << QStringLiteral("D:\\Program Files\\Internet Explorer");
    QTest::newRow("lower-case kind") << system32 << QStringLiteral("ie") << true << QString();
    QTest::newRow("empty kind") << system32 << QString() << true << QString();
    QTest::newRow("no backslash") << QStringLiteral("system32") << QStringLiteral("IE") << false << QString();
    QTest::newRow("empty directory") << QString() << QStringLiteral("WIN") << false << QString();
}

void TestIeCommandLine::sysFolder()
{
    QFETCH(QString, systemDirectory);
    QFETCH(QString, kind);
    QFETCH(bool, found);
    QFETCH(QString, expected);

    const std::optional<std::wstring> folder = GetSysFolder(kind.toStdWString(), systemDirectory.toStdWString());
    QCOMPARE(folder.has_value(), found);
    if (found)
        QCOMPARE(Text(*folder), expected);
}

void TestIeCommandLine::commandLine_data()
{
    QTest::addColumn<QString>("systemDirectory");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");

    const QString system32 = QStringLiteral("C:\\WINDOWS\\system32");
    const QString iexplore = QStringLiteral("\"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE\" ");
    QTest::newRow("bare host") << system32 << QStringLiteral("www.example.com") << iexplore + QStringLiteral("www.example.com");
    QTest::newRow("full address") << system32 << QStringLiteral("http://bbs.example.com/")
                                  << iexplore + QStringLiteral("http://bbs.example.com/");
    QTest::newRow("empty address keeps the blank") << system32 << QString() << iexplore;
    QTest::newRow("blanks pass unquoted") << system32 << QStringLiteral("a b") << iexplore + QStringLiteral("a b");
    QTest::newRow("unreadable system directory") << QString() << QStringLiteral("x.example")
                                                 << QStringLiteral("\"\\IEXPLORE.EXE\" x.example");
}

void TestIeCommandLine::commandLine()
{
    QFETCH(QString, systemDirectory);
    QFETCH(QString, address);
    QFETCH(QString, expected);

    QCOMPARE(Text(IeCommandLine(systemDirectory.toStdWString(), address.toStdWString())), expected);
}

QTEST_APPLESS_MAIN(TestIeCommandLine)
#include "test_ie_command_line.moc"
