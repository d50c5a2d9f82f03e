#include "test_registry.h"
#include "link_label.h"

#include <QSignalSpy>
#include <QTest>

class LinkLabelTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clicks_data();
    void clicks();
};

void LinkLabelTest::clicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("releaseOutside");
    QTest::addColumn<int>("emitted");

    QTest::newRow("left click") << Qt::LeftButton << false << 1;
    QTest::newRow("right click") << Qt::RightButton << false << 0;
    QTest::newRow("middle click") << Qt::MiddleButton << false << 0;
    QTest::newRow("left, dragged off before release") << Qt::LeftButton << true << 0;
}

void LinkLabelTest::clicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, releaseOutside);
    QFETCH(int, emitted);

    LinkLabel label(QStringLiteral("交流论坛"));
    label.adjustSize();
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QSignalSpy spy(&label, &LinkLabel::clicked);

    const QPoint inside = label.rect().center();
    const QPoint outside(label.width() + 20, label.height() + 20);
    QTest::mousePress(&label, button, {}, inside);
    QTest::mouseRelease(&label, button, {}, releaseOutside ? outside : inside);

    QCOMPARE(spy.count(), emitted);
}

NELOCLOCK_TEST(LinkLabelTest)
#include "test_link_label.moc"
