#include "test_registry.h"
#include "program_lifetime.h"

#include "app_fakes.h"

#include <QtTest>

class ProgramLifetimeTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void endsWithTheMainWindow_data()
    {
        QTest::addColumn<bool>("reminderOpen");
        QTest::addColumn<int>("quitsAtClose");
        QTest::newRow("no reminder window") << false << 1;
        QTest::newRow("reminder window open") << true << 0;
    }

    void endsWithTheMainWindow()
    {
        QFETCH(bool, reminderOpen);
        QFETCH(int, quitsAtClose);

        FakeReminder reminder;
        int quits = 0;
        ProgramLifetime lifetime(reminder, [&] { ++quits; });
        if (reminderOpen)
            reminder.show(QStringLiteral("生日提醒"));
        lifetime.mainWindowClosed();
        QCOMPARE(quits, quitsAtClose);
        if (reminderOpen) {
            reminder.close();
            QCOMPARE(quits, 1);
        }
    }

    void closingAReminderAloneKeepsRunning()
    {
        FakeReminder reminder;
        int quits = 0;
        ProgramLifetime lifetime(reminder, [&] { ++quits; });
        reminder.show(QString());
        reminder.close();
        QCOMPARE(quits, 0);
        lifetime.mainWindowClosed();
        QCOMPARE(quits, 1);
    }
};

NELOCLOCK_TEST(ProgramLifetimeTest)
#include "test_program_lifetime.moc"
