#include "browser_launcher.h"

#include <QTest>

class TestBrowserLauncher final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithXdgOpen_data();
    void opensWithXdgOpen();
    void emptyAddressStartsNothing();
};

void TestBrowserLauncher::opensWithXdgOpen_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("argument");

    QTest::newRow("bare host") << QStringLiteral("www.example.com") << QStringLiteral("http://www.example.com");
    QTest::newRow("host with path") << QStringLiteral("ad.example.com/ad-tc.asp")
                                    << QStringLiteral("http://ad.example.com/ad-tc.asp");
    QTest::newRow("http kept") << QStringLiteral("http://bbs.example.com/") << QStringLiteral("http://bbs.example.com/");
    QTest::newRow("https kept") << QStringLiteral("https://example.com") << QStringLiteral("https://example.com");
    QTest::newRow("upper-case scheme kept") << QStringLiteral("HTTP://EXAMPLE.COM") << QStringLiteral("HTTP://EXAMPLE.COM");
    QTest::newRow("host with port is no scheme") << QStringLiteral("localhost:8080/x")
                                                 << QStringLiteral("http://localhost:8080/x");
    QTest::newRow("blanks stay in one argument") << QStringLiteral("example.com/a b")
                                                 << QStringLiteral("http://example.com/a b");
}

void TestBrowserLauncher::opensWithXdgOpen()
{
    QFETCH(QString, address);
    QFETCH(QString, argument);

    QStringList programs;
    QList<QStringList> argumentLists;
    BrowserLauncher launcher([&](const QString& program, const QStringList& arguments) {
        programs << program;
        argumentLists << arguments;
    });
    launcher.openUrl(address);

    QCOMPARE(programs, QStringList{QStringLiteral("xdg-open")});
    QCOMPARE(argumentLists.value(0), QStringList{argument});
}

void TestBrowserLauncher::emptyAddressStartsNothing()
{
    int starts = 0;
    BrowserLauncher launcher([&](const QString&, const QStringList&) { ++starts; });
    launcher.openUrl(QString());
    QCOMPARE(starts, 0);
}

QTEST_APPLESS_MAIN(TestBrowserLauncher)
#include "test_browser_launcher.moc"
