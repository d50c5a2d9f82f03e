#include "test_registry.h"
#include "xdg_auto_start.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList EntriesIn(const QString& directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class XdgAutoStartTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every failure must be silent, and Qt's own warnings would show up here.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void execValue_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("blanks") << "/home/u/My Programs/NeloClock" << "\"/home/u/My Programs/NeloClock\"";
        QTest::newRow("double quote") << "/opt/a\"b/NeloClock" << "\"/opt/a\\\\\"b/NeloClock\"";
        QTest::newRow("dollar") << "/opt/$HOME/NeloClock" << "\"/opt/\\\\$HOME/NeloClock\"";
        QTest::newRow("backtick") << "/opt/`id`/NeloClock" << "\"/opt/\\\\`id\\\\`/NeloClock\"";
        QTest::newRow("backslash") << "/opt/a\\b/NeloClock" << "\"/opt/a\\\\\\\\b/NeloClock\"";
        QTest::newRow("field code") << "/opt/%f %U/NeloClock" << "\"/opt/%%f %%U/NeloClock\"";
        QTest::newRow("newline") << "/opt/a\nb/NeloClock" << "\"/opt/a\\nb/NeloClock\"";
    }

    void execValue()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(XdgAutoStart::execValue(program), exec);
    }

    void entryFollowsTheProgramAndLeavesOthersAlone()
    {
        QTemporaryDir root;
        // The autostart folder often does not exist yet on a fresh account.
        const QString folder = root.filePath(QStringLiteral("config/autostart"));
        XdgAutoStart(folder, QStringLiteral("/opt/a/Other")).enable();
        XdgAutoStart(folder, QStringLiteral("/opt/old/NeloClock")).enable();
        // Enabled again at every start while the option is on, so the entry
        // follows a program that has moved.
        XdgAutoStart autoStart(folder, QStringLiteral("/opt/Nelo Clock/NeloClock"));
        autoStart.enable();
        QCOMPARE(autoStart.entryPath(), folder + QStringLiteral("/NeloClock.desktop"));
        QCOMPARE(EntriesIn(folder), (QStringList{"NeloClock.desktop", "Other.desktop"}));
        const QStringList lines = ReadText(autoStart.entryPath()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("[Desktop Entry]"));
        for (const char* line : {"Type=Application", "Exec=\"/opt/Nelo Clock/NeloClock\"",
                                 "X-GNOME-Autostart-enabled=true", "Name=Nelo闹钟"})
            QVERIFY2(lines.contains(QString::fromUtf8(line)), line);

        autoStart.disable();
        autoStart.disable();
        QCOMPARE(EntriesIn(folder), QStringList{"Other.desktop"});
        // Switching on again after switching off works like the first time.
        autoStart.enable();
        QCOMPARE(EntriesIn(folder).size(), 2);
    }

    void unwritableFolderFailsSilently_data()
    {
        QTest::addColumn<QString>("folder");
        // Tests run as root, so permission bits stop nothing; these stop root too.
        QTest::newRow("under /proc") << "/proc/neloclock-test/autostart";
        QTest::newRow("file where the folder belongs") << "autostart";
        QTest::newRow("file where a parent folder belongs") << "config/autostart";
    }

    void unwritableFolderFailsSilently()
    {
        QFETCH(QString, folder);
        QTemporaryDir root;
        const QString blocker = root.filePath(folder.section(u'/', 0, 0));
        if (!folder.startsWith(u'/')) {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a folder");
        }
        XdgAutoStart autoStart(QDir(root.path()).filePath(folder), QStringLiteral("/opt/NeloClock"));
        // Silent for the user, but on record for whoever looks.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^no folder for the login entry")));
        autoStart.enable();
        autoStart.disable();
        QVERIFY(!QFileInfo::exists(autoStart.entryPath()));
        if (!folder.startsWith(u'/'))
            QCOMPARE(ReadText(blocker), QStringLiteral("not a folder"));
    }
};

NELOCLOCK_TEST(XdgAutoStartTest)
#include "test_xdg_auto_start.moc"
