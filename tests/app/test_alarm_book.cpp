#include "test_registry.h"
#include "alarm_book.h"

#include "alarm_file.h"
#include "app_fakes.h"
#include "date_time_text.h"
#include "fake_clock.h"

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
    FakeClock m_clock;
    DateTimeText m_text;
    QString path() const { return m_dir.filePath(QStringLiteral("alarm.ini")); }
    AlarmFileLocation location() const { return {path(), path()}; }
    // The lines as the start-up would find them on disk.
    void loadFromDisk(AlarmBook& book, const QStringList& lines)
    {
        QVERIFY(SaveAlarmFile(path(), lines));
        book.load(false, m_clock, m_text);
        QCOMPARE(book.lines(), lines);
    }
    static QByteArray Encoded(const QStringList& lines) { return EncodeAlarmFile(lines).value_or("<no bytes>"); }

private Q_SLOTS:
    void init() { QFile::remove(path()); }

    void addWritesAtOnceAndUncoversTheList()
    {
        CountingNotice notice;
        AlarmBook book(location(), notice);
        QSignalSpy panel(&book, &AlarmBook::adPanelVisibleChanged);
        QVERIFY(book.adPanelVisible());

        book.add(kA);
        QCOMPARE(FileBytes(path()), Encoded({kA}));
        QVERIFY(!book.adPanelVisible());
        book.add(kA);
        QCOMPARE(book.lines(), QStringList({kA, kA}));
        QCOMPARE(FileBytes(path()), Encoded({kA, kA}));
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
        AlarmBook book(location(), notice);
        if (row >= 0)
            loadFromDisk(book, before);
        else
            book.model().setStringList(before);
        book.setAdPanelVisible(before.isEmpty());

        book.deleteAt(row);
        QCOMPARE(book.lines(), after);
        QCOMPARE(book.adPanelVisible(), panelVisible);
        if (row >= 0)
            QCOMPARE(FileBytes(path()), Encoded(after));
        else
            QVERIFY(!QFile::exists(path()));
    }

    void deleteAllLeavesAnEmptyFile()
    {
        CountingNotice notice;
        AlarmBook book(location(), notice);
        loadFromDisk(book, {kA, kB});
        book.setAdPanelVisible(false);
        book.deleteAll();
        QVERIFY(book.lines().isEmpty());
        QVERIFY(book.adPanelVisible());
        QCOMPARE(FileBytes(path()), QByteArray("\r\n"));
    }

    void scanWritesOnlyWhenSomethingFired()
    {
        CountingNotice notice;
        AlarmBook book(location(), notice);
        loadFromDisk(book, {kA, kB, kC});

        book.removeAt(0);
        book.removeAt(0);
        QCOMPARE(FileBytes(path()), Encoded({kA, kB, kC}));
        book.scanned(0);
        QCOMPARE(FileBytes(path()), Encoded({kA, kB, kC}));
        book.scanned(2);
        QCOMPARE(FileBytes(path()), Encoded({kC}));
        QCOMPARE(book.count(), 1);
        QCOMPARE(book.lineAt(0), kC);
    }

    void unwritableFileIsReportedOncePerFailure()
    {
        const QString folder = m_dir.filePath(QStringLiteral("gone"));
        const QString file = QDir(folder).filePath(QStringLiteral("alarm.ini"));
        CountingNotice notice;
        AlarmBook book({file, file}, notice);

        book.add(kA);
        book.add(kB);
        book.deleteAt(0);
        QCOMPARE(notice.paths, QStringList({file}));

        QVERIFY(QDir().mkpath(folder));
        book.add(kC);
        QCOMPARE(FileBytes(file), Encoded({kB, kC}));
        QCOMPARE(notice.paths.size(), 1);

        QVERIFY(QDir(folder).removeRecursively());
        book.deleteAll();
        QCOMPARE(notice.paths, QStringList({file, file}));
    }

    // A file that exists but cannot be read is never written over: it is
    // moved aside first, or, when it cannot be moved, nothing is written.
    void unreadableFileIsKept_data()
    {
        QTest::addColumn<bool>("movable");
        QTest::newRow("moved aside") << true;
        QTest::newRow("cannot be moved") << false;
    }

    void unreadableFileIsKept()
    {
        QFETCH(bool, movable);
        // Root reads any file, but not a folder; and nobody renames /proc's.
        const QString file = movable ? path() : QStringLiteral("/proc/self");
        if (movable)
            QVERIFY(QDir().mkdir(file));
        CountingNotice notice;
        AlarmBook book({file, file}, notice);
        book.load(true, m_clock, m_text);
        QCOMPARE(notice.unreadable.size(), 1);
        QCOMPARE(notice.unreadable.first().at(0), file);
        QVERIFY(book.lines().isEmpty());

        book.add(kA);
        if (movable) {
            QCOMPARE(notice.unreadable.first().at(2), file + QStringLiteral(".unreadable"));
            QVERIFY(QFileInfo(file + QStringLiteral(".unreadable")).isDir());
            QCOMPARE(FileBytes(file), Encoded({kA}));
            QVERIFY(notice.paths.isEmpty());
        } else {
            QCOMPARE(notice.unreadable.first().at(2), QString());
            QVERIFY(!book.save());
            QVERIFY(notice.paths.isEmpty());
        }
        QDir(file).removeRecursively();
        QDir(file + QStringLiteral(".unreadable")).removeRecursively();
    }
};

NELOCLOCK_TEST(AlarmBookTest)
#include "test_alarm_book.moc"
