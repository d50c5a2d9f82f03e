#include "test_registry.h"
#include "browser_launcher.h"
#include "site_addresses.h"

#include <QTest>

class TestBrowserLauncher final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithScheme_data();
    void opensWithScheme();
};

void TestBrowserLauncher::opensWithScheme_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("bare host") << QStringLiteral("www.example.com") << QStringList{"http://www.example.com"};
    QTest::newRow("host with path") << QStringLiteral("ad.example.com/ad-tc.asp")
                                    << QStringList{"http://ad.example.com/ad-tc.asp"};
    QTest::newRow("https kept") << QStringLiteral("https://example.com") << QStringList{"https://example.com"};
    QTest::newRow("upper-case scheme kept") << QStringLiteral("HTTP://EXAMPLE.COM") << QStringList{"HTTP://EXAMPLE.COM"};
    QTest::newRow("host with port is no scheme") << QStringLiteral("localhost:8080/x")
                                                 << QStringList{"http://localhost:8080/x"};
    QTest::newRow("blanks inside stay in one address") << QStringLiteral(" example.com/a b ")
                                                       << QStringList{"http://example.com/a b"};
    QTest::newRow("nothing to open starts nothing") << QString() << QStringList();
}

void TestBrowserLauncher::opensWithScheme()
{
    QFETCH(QString, address);
    QFETCH(QStringList, opened);

    QStringList seen;
    BrowserLauncher launcher([&seen](const QString& url) {
        seen << url;
        return true;
    });
    launcher.openUrl(address);
    QCOMPARE(seen, opened);
}

NELOCLOCK_TEST(TestBrowserLauncher)
#include "test_browser_launcher.moc"
