#include "alarm_book.h"

#include "alarm_file.h"
#include "app_fakes.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

const QString kA = QStringLiteral("2026/12/6 11:00:00|声音提醒||");
const QString kB = QStringLiteral("2026/12/6 12:00:00|文本框提醒|生日提醒|");
const QString kC = QStringLiteral("2026/12/6 13:00:00|附加动作||打开QQ农场");

} // namespace

class AlarmBookTest final : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath(QStringLiteral("alarm.ini")); }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void addWritesAtOnceAndUncoversTheList()
    {
        CountingNotice notice;
        AlarmBook book(path(), notice);
        QSignalSpy panel(&book, &AlarmBook::adPanelVisibleChanged);
        QVERIFY(book.adPanelVisible());

        book.add(kA);
        QCOMPARE(FileBytes(path()), EncodeAlarmFile({kA}));
        QVERIFY(!book.adPanelVisible());
        book.add(kA);
        QCOMPARE(book.lines(), QStringList({kA, kA}));
        QCOMPARE(FileBytes(path()), EncodeAlarmFile({kA, kA}));
        QCOMPARE(panel.count(), 1);
        QVERIFY(notice.paths.isEmpty());
    }

    void deleteSelected_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("panelVisible");

        QTest::newRow("middle of three") << QStringList{kA, kB, kC} << 1 << QStringList{kA, kC} << false;
        QTest::newRow("the last line") << QStringList{kA} << 0 << QStringList{} << true;
        QTest::newRow("no selection") << QStringList{kA, kB} << -1 << QStringList{kA, kB} << false;
        QTest::newRow("no selection, empty list") << QStringList{} << -1 << QStringList{} << true;
    }

    void deleteSelected()
    {
        QFETCH(QStringList, before);
        QFETCH(int, row);
        QFETCH(QStringList, after);
        QFETCH(bool, panelVisible);

        CountingNotice notice;
        AlarmBook book(path(), notice);
        book.setLoaded(before);
        book.setAdPanelVisible(before.isEmpty());
        if (row >= 0)
            book.save();

        book.deleteAt(row);
        QCOMPARE(book.lines(), after);
        QCOMPARE(book.adPanelVisible(), panelVisible);
        if (row >= 0)
            QCOMPARE(FileBytes(path()), EncodeAlarmFile(after));
        else
            QVERIFY(!QFile::exists(path()));
    }

    void deleteAllLeavesAnEmptyFile()
    {
        CountingNotice notice;
        AlarmBook book(path(), notice);
        book.setLoaded({kA, kB});
        book.setAdPanelVisible(false);
        book.deleteAll();
        QVERIFY(book.lines().isEmpty());
        QVERIFY(book.adPanelVisible());
        QCOMPARE(FileBytes(path()), QByteArray("\r\n"));
    }

    void scanWritesOnlyWhenSomethingFired()
    {
        CountingNotice notice;
        AlarmBook book(path(), notice);
        book.setLoaded({kA, kB, kC});
        book.save();

        book.removeAt(0);
        book.removeAt(0);
        QCOMPARE(FileBytes(path()), EncodeAlarmFile({kA, kB, kC}));
        book.scanned(0);
        QCOMPARE(FileBytes(path()), EncodeAlarmFile({kA, kB, kC}));
        book.scanned(2);
        QCOMPARE(FileBytes(path()), EncodeAlarmFile({kC}));
        QCOMPARE(book.count(), 1);
        QCOMPARE(book.lineAt(0), kC);
    }

    void unwritableFileIsReportedOncePerFailure()
    {
        const QString folder = m_dir.filePath(QStringLiteral("gone"));
        const QString file = QDir(folder).filePath(QStringLiteral("alarm.ini"));
        CountingNotice notice;
        AlarmBook book(file, notice);

        book.add(kA);
        book.add(kB);
        book.deleteAt(0);
        QCOMPARE(notice.paths, QStringList({file}));

        QVERIFY(QDir().mkpath(folder));
        book.add(kC);
        QCOMPARE(FileBytes(file), EncodeAlarmFile({kB, kC}));
        QCOMPARE(notice.paths.size(), 1);

        QVERIFY(QDir(folder).removeRecursively());
        book.deleteAll();
        QCOMPARE(notice.paths, QStringList({file, file}));
    }
};

QTEST_GUILESS_MAIN(AlarmBookTest)
#include "test_alarm_book.moc"
