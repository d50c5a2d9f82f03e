#include "strict_number.h"

#include <QtTest>

class StrictNumberTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<double>("value");

        const QString zh = QStringLiteral("zh_CN");
        QTest::newRow("whole") << zh << QStringLiteral("2") << true << 2.0;
        QTest::newRow("blanks around") << zh << QStringLiteral("  2  ") << true << 2.0;
        QTest::newRow("plus sign") << zh << QStringLiteral("+3") << true << 3.0;
        QTest::newRow("negative fraction") << zh << QStringLiteral("-1.5") << true << -1.5;
        QTest::newRow("fraction") << zh << QStringLiteral("2.9") << true << 2.9;
        QTest::newRow("zero") << zh << QStringLiteral("0") << true << 0.0;
        QTest::newRow("leading zero") << zh << QStringLiteral("05") << true << 5.0;
        QTest::newRow("empty is not zero") << zh << QString() << false << 0.0;
        QTest::newRow("blanks only") << zh << QStringLiteral("   ") << false << 0.0;
        QTest::newRow("letters") << zh << QStringLiteral("abc") << false << 0.0;
        QTest::newRow("number then letters") << zh << QStringLiteral("2abc") << false << 0.0;
        QTest::newRow("blank inside") << zh << QStringLiteral("1 2") << false << 0.0;
        QTest::newRow("infinity") << zh << QStringLiteral("inf") << false << 0.0;
        QTest::newRow("not a number") << zh << QStringLiteral("nan") << false << 0.0;
        QTest::newRow("decimal comma where the locale has one") << QStringLiteral("de_DE") << QStringLiteral("2,5")
                                                                << true << 2.5;
    }

    void reads()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(double, value);

        const auto number = StrictNumber(text, QLocale(locale));
        QCOMPARE(number.has_value(), readable);
        if (readable)
            QCOMPARE(*number, value);
    }
};

QTEST_GUILESS_MAIN(StrictNumberTest)
#include "test_strict_number.moc"
