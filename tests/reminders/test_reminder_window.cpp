#include "test_registry.h"
#include "reminder_window.h"
#include "reminder_window_host.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class TestReminderWindow final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text_data();
    void text();
    void sitsInsideTheWorkAreaAtTheBottomRight();
    void flashesUntilClicked_data();
    void flashesUntilClicked();
    void showWhileOpenChangesNothing();
    void buttonClosesAndNextShowStartsAfresh();
    void captionCloseAlsoCounts();
};

void TestReminderWindow::text_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty keeps the greeting") << QString() << QStringLiteral("重要提醒哦！*^_^*");
    QTest::newRow("alarm text") << QStringLiteral("菜熟啦，赶紧偷啊") << QStringLiteral("菜熟啦，赶紧偷啊");
    QTest::newRow("blank text is a text") << QStringLiteral(" ") << QStringLiteral(" ");
    // What looks like markup is the user's text, shown as typed.
    QTest::newRow("bold markup") << QStringLiteral("<b>收菜</b>") << QStringLiteral("<b>收菜</b>");
    QTest::newRow("line break markup") << QStringLiteral("a<br>b") << QStringLiteral("a<br>b");
    QTest::newRow("image markup") << QStringLiteral("<img src=\"file:///etc/passwd\">")
                                  << QStringLiteral("<img src=\"file:///etc/passwd\">");
}

void TestReminderWindow::text()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);

    ReminderWindowHost host;
    host.show(text);
    QLabel* label = host.window()->label();
    QCOMPARE(label->text(), shown);
    // Rendered as rich text, markup would change the label's size: bold is
    // wider, a line break taller, an image reads a file.
    QLabel plain(shown);
    plain.setFont(label->font());
    plain.setTextFormat(Qt::PlainText);
    plain.setWordWrap(label->wordWrap());
    QCOMPARE(label->sizeHint(), plain.sizeHint());
}

void TestReminderWindow::sitsInsideTheWorkAreaAtTheBottomRight()
{
    ReminderWindowHost host;
    host.show(QString());
    ReminderWindow* window = host.window();
    QVERIFY(window->isVisible());

    const QRect workArea = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    QVERIFY2(workArea.contains(frame), "the window must lie wholly inside the work area");
    // Near the bottom right corner: no further away than the 500-twip gap.
    QVERIFY(workArea.right() - frame.right() <= 4);
    QVERIFY(workArea.bottom() - frame.bottom() <= 34);
}

void TestReminderWindow::flashesUntilClicked_data()
{
    QTest::addColumn<QString>("target");

    QTest::newRow("label") << QStringLiteral("label");
    QTest::newRow("free area") << QStringLiteral("window");
}

void TestReminderWindow::flashesUntilClicked()
{
    QFETCH(QString, target);

    ReminderWindowHost host;
    host.show(QString());
    ReminderWindow* window = host.window();
    QVERIFY(window->isFlashing());
    // The look really alternates while it flashes.
    QTRY_VERIFY(window->isHighlighted());
    QTRY_VERIFY(!window->isHighlighted());

    if (target == QStringLiteral("label"))
        QTest::mouseClick(window->label(), Qt::LeftButton);
    else
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(3, 75));

    QVERIFY(!window->isFlashing());
    QVERIFY(!window->isHighlighted());
    QVERIFY(host.isOpen());
    QVERIFY(window->isVisible());
}

void TestReminderWindow::showWhileOpenChangesNothing()
{
    ReminderWindowHost host;
    host.show(QStringLiteral("第一个"));
    ReminderWindow* first = host.window();
    QTest::mouseClick(first->label(), Qt::LeftButton);

    host.show(QStringLiteral("第二个"));

    QCOMPARE(host.window(), first);
    QCOMPARE(first->label()->text(), QStringLiteral("第一个"));
    QVERIFY(!first->isFlashing());
}

void TestReminderWindow::buttonClosesAndNextShowStartsAfresh()
{
    ReminderWindowHost host;
    QSignalSpy closed(&host, &ReminderWindowHost::closed);
    host.show(QStringLiteral("第一个"));
    QPointer<ReminderWindow> first = host.window();
    QTest::mouseClick(first->label(), Qt::LeftButton);

    QTest::mouseClick(first->button(), Qt::LeftButton);

    QCOMPARE(closed.count(), 1);
    QVERIFY(!host.isOpen());
    QCOMPARE(host.window(), nullptr);
    QTRY_VERIFY(first.isNull()); // deleted, not merely hidden

    host.show(QStringLiteral("第二个"));
    QVERIFY(host.isOpen());
    QCOMPARE(host.window()->label()->text(), QStringLiteral("第二个"));
    QVERIFY(host.window()->isFlashing());
    QCOMPARE(closed.count(), 1);
}

void TestReminderWindow::captionCloseAlsoCounts()
{
    ReminderWindowHost host;
    QSignalSpy closed(&host, &ReminderWindowHost::closed);
    host.show(QString());

    QVERIFY(host.window()->close());

    QCOMPARE(closed.count(), 1);
    QVERIFY(!host.isOpen());
}

NELOCLOCK_TEST(TestReminderWindow)
#include "test_reminder_window.moc"
