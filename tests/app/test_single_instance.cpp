#include "test_registry.h"
#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class SingleInstanceTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString file(const QString& folder) const { return m_dir.filePath(folder + QStringLiteral("/alarm.ini")); }

private Q_SLOTS:
    void secondCopyHandsOverToTheFirst()
    {
        SingleInstance first(file(QStringLiteral("a")));
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        QVERIFY(first.claim());

        SingleInstance second(file(QStringLiteral("a")));
        QVERIFY(!second.claim());
        QVERIFY(asked.wait(5000));
        QCOMPARE(asked.count(), 1);
    }

    void copiesInOtherFoldersRunSideBySide()
    {
        SingleInstance first(file(QStringLiteral("a")));
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        QVERIFY(first.claim());
        SingleInstance other(file(QStringLiteral("b")));
        QVERIFY(other.claim());
        QCoreApplication::processEvents();
        QCOMPARE(asked.count(), 0);
    }

    void sameFileUnderAnotherSpellingIsTheSameCopy()
    {
        const QString path = file(QStringLiteral("c"));
        const QString spelled = m_dir.filePath(QStringLiteral("c/../c/./alarm.ini"));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("c"))));
        QCOMPARE(SingleInstance::serverName(spelled), SingleInstance::serverName(path));
        QVERIFY(SingleInstance::serverName(path) != SingleInstance::serverName(file(QStringLiteral("d"))));
    }

    void nextCopyClaimsAfterTheFirstEnded()
    {
        {
            SingleInstance first(file(QStringLiteral("e")));
            QVERIFY(first.claim());
        }
        SingleInstance next(file(QStringLiteral("e")));
        QVERIFY(next.claim());
    }

#ifdef Q_OS_UNIX
    void socketLeftByACrashedCopyIsTakenOver()
    {
        const QString path = file(QStringLiteral("f"));
        // What a killed copy leaves: the socket's name in the file system
        // with nobody listening.
        QFile stale(QDir::temp().filePath(SingleInstance::serverName(path)));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        SingleInstance copy(path);
        QVERIFY(copy.claim());
        SingleInstance later(path);
        QVERIFY(!later.claim());
    }
#endif
};

NELOCLOCK_TEST(SingleInstanceTest)
#include "test_single_instance.moc"
