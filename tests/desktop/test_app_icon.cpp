#include "app_icon.h"

#include <QImage>
#include <QTest>

class AppIconTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizes_data();
    void sizes();
};

void AppIconTest::sizes_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("32") << 32;
}

// Catches a resource that was not linked into the program (a null icon) and
// an image that is empty or the wrong size for the notification area.
void AppIconTest::sizes()
{
    QFETCH(int, size);
    const QIcon icon = AppIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));

    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());
    // Opaque in the middle of the dial, transparent in the corners.
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2 + 1)), 255);
    QCOMPARE(qAlpha(image.pixel(0, size - 1)), 0);
}

QTEST_MAIN(AppIconTest)
#include "test_app_icon.moc"
