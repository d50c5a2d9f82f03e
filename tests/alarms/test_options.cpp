#include "test_registry.h"
#include "options.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestOptions final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void restore_data();
    void restore();
    void saveStoresTexts_data();
    void saveStoresTexts();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettings> m_settings;
};

void TestOptions::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_settings = std::make_unique<QSettings>(m_dir->filePath(QStringLiteral("NeloClock.ini")), QSettings::IniFormat);
}

void TestOptions::restore_data()
{
    // Stored texts; a null QString means the key is missing.
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("clear");
    QTest::addColumn<QString>("autoRun");
    QTest::addColumn<QString>("restoredTime");
    QTest::addColumn<int>("restoredClear"); // -1: the box keeps its designed state
    QTest::addColumn<int>("restoredAuto");

    QTest::newRow("first run") << QString() << QString() << QString() << "2" << 1 << 0;
    QTest::newRow("stored values") << "5" << "0" << "1" << "5" << 0 << 1;
    QTest::newRow("empty advance stays empty") << "" << "1" << "0" << "" << 1 << 0;
    QTest::newRow("advance is not validated") << "abc" << "1" << "0" << "abc" << 1 << 0;
    QTest::newRow("not a number") << "2" << "abc" << "x" << "2" << -1 << -1;
    QTest::newRow("empty state") << "2" << "" << "" << "2" << -1 << -1;
    QTest::newRow("grayed counts") << "2" << "2" << "2" << "2" << 2 << 2;
    QTest::newRow("out of range") << "2" << "3" << "-1" << "2" << -1 << -1;
    QTest::newRow("half to even, down") << "2" << "0.5" << "2.5" << "2" << 0 << 2;
    QTest::newRow("half to even, up") << "2" << "1.5" << "-0.4" << "2" << 2 << 0;
    QTest::newRow("blanks around") << "2" << " 1 " << " 0" << "2" << 1 << 0;
    QTest::newRow("not a finite number") << "2" << "inf" << "nan" << "2" << -1 << -1;
}

void TestOptions::restore()
{
    QFETCH(QString, time);
    QFETCH(QString, clear);
    QFETCH(QString, autoRun);
    QFETCH(QString, restoredTime);
    QFETCH(int, restoredClear);
    QFETCH(int, restoredAuto);

    const auto store = [this](const char* key, const QString& value) {
        if (!value.isNull())
            m_settings->setValue(QLatin1String("option/") + QLatin1String(key), value);
    };
    store("Time", time);
    store("Clear", clear);
    store("Auto", autoRun);

    const Options::Restored restored = Options(*m_settings).load();
    QCOMPARE(restored.time, restoredTime);
    QCOMPARE(restored.clear.value_or(-1), restoredClear);
    QCOMPARE(restored.autoRun.value_or(-1), restoredAuto);
}

void TestOptions::saveStoresTexts_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("clear");
    QTest::addColumn<int>("autoRun");

    QTest::newRow("user unchecked clear and typed 5") << "5" << 0 << 0;
    QTest::newRow("empty advance") << "" << 1 << 1;
    QTest::newRow("Chinese text") << "两分钟" << 2 << 0;
}

void TestOptions::saveStoresTexts()
{
    QFETCH(QString, time);
    QFETCH(int, clear);
    QFETCH(int, autoRun);

    QVERIFY(Options(*m_settings).save(time, clear, autoRun));

    // Another reader of the same file sees the texts, as decimal integers for
    // the boxes.
    QSettings reread(m_settings->fileName(), QSettings::IniFormat);
    QCOMPARE(reread.value(QStringLiteral("option/Time")).toString(), time);
    QVERIFY(reread.contains(QStringLiteral("option/Time")));
    QCOMPARE(reread.value(QStringLiteral("option/Clear")).toString(), QString::number(clear));
    QCOMPARE(reread.value(QStringLiteral("option/Auto")).toString(), QString::number(autoRun));

    const Options::Restored restored = Options(reread).load();
    QCOMPARE(restored.time, time);
    QCOMPARE(restored.clear, std::optional(clear));
    QCOMPARE(restored.autoRun, std::optional(autoRun));
}

NELOCLOCK_TEST(TestOptions)
#include "test_options.moc"
