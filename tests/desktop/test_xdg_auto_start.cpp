#include "test_registry.h"
#include "xdg_auto_start.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString execLine(const QString& entryPath)
{
    const QStringList lines = QString::fromUtf8(readAll(entryPath)).split(u'\n');
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("Exec=")))
            return line.mid(5);
    }
    return {};
}

QStringList entriesIn(const QString& directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class XdgAutoStartTest final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void execValue_data();
    void execValue();
    void launcherRunsTheRegisteredPath();
    void enableWritesACompleteEntry();
    void enableAgain_data();
    void enableAgain();
    void disableRemovesOnlyItsOwnEntry();
    void unwritableFolderFailsSilently_data();
    void unwritableFolderFailsSilently();
};

void XdgAutoStartTest::init()
{
    // Every failure must be silent, and Qt's own warnings would show up here.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void XdgAutoStartTest::execValue_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");

    QTest::newRow("plain") << QStringLiteral("/opt/neloclock/NeloClock") << QStringLiteral("\"/opt/neloclock/NeloClock\"");
    QTest::newRow("blanks") << QStringLiteral("/home/u/My Programs/NeloClock")
                            << QStringLiteral("\"/home/u/My Programs/NeloClock\"");
    QTest::newRow("double quote") << QStringLiteral("/opt/a\"b/NeloClock") << QStringLiteral("\"/opt/a\\\\\"b/NeloClock\"");
    QTest::newRow("dollar") << QStringLiteral("/opt/$HOME/NeloClock") << QStringLiteral("\"/opt/\\\\$HOME/NeloClock\"");
    QTest::newRow("backtick") << QStringLiteral("/opt/`id`/NeloClock") << QStringLiteral("\"/opt/\\\\`id\\\\`/NeloClock\"");
    QTest::newRow("backslash") << QStringLiteral("/opt/a\\b/NeloClock")
                               << QStringLiteral("\"/opt/a\\\\\\\\b/NeloClock\"");
    QTest::newRow("percent") << QStringLiteral("/opt/100%/NeloClock") << QStringLiteral("\"/opt/100%%/NeloClock\"");
    QTest::newRow("field code") << QStringLiteral("/opt/%f %U/NeloClock") << QStringLiteral("\"/opt/%%f %%U/NeloClock\"");
    QTest::newRow("single quote") << QStringLiteral("/opt/it's/NeloClock") << QStringLiteral("\"/opt/it's/NeloClock\"");
    QTest::newRow("newline") << QStringLiteral("/opt/a\nb/NeloClock") << QStringLiteral("\"/opt/a\\nb/NeloClock\"");
    QTest::newRow("chinese") << QStringLiteral("/home/用户/闹钟/NeloClock") << QStringLiteral("\"/home/用户/闹钟/NeloClock\"");
}

void XdgAutoStartTest::execValue()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(XdgAutoStart::execValue(program), exec);
}

// The table above is our reading of the Desktop Entry rules; GLib's launcher,
// which GNOME's autostart uses, is an independent reader of them. The entry
// must make it run exactly the registered file, however odd the folder's
// name. No "%" here: GLib checks that the program exists before it expands
// "%%", so it cannot start a program whose path holds a percent sign at all.
void XdgAutoStartTest::launcherRunsTheRegisteredPath()
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        QSKIP("gio (Debian package libglib2.0-bin) is not installed");

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.filePath(QStringLiteral("a b\"c$d`e\\f'g 闹钟"));
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/NeloClock");
    const QString marker = root.filePath(QStringLiteral("ran"));
    {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$0\" > '" + marker.toUtf8() + "'\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    XdgAutoStart autoStart(root.filePath(QStringLiteral("autostart")), program);
    autoStart.enable();

    QProcess launcher;
    launcher.start(gio, {QStringLiteral("launch"), autoStart.entryPath()});
    QVERIFY(launcher.waitForFinished(30000));
    QCOMPARE(launcher.exitCode(), 0);
    // gio returns once the child is spawned, not when it has finished.
    QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(readAll(marker)), program, 10000);
}

void XdgAutoStartTest::enableWritesACompleteEntry()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // The autostart folder often does not exist yet on a fresh account.
    const QString folder = root.filePath(QStringLiteral("config/autostart"));
    XdgAutoStart autoStart(folder, QStringLiteral("/opt/Nelo Clock/NeloClock"));
    autoStart.enable();

    QCOMPARE(autoStart.entryPath(), folder + QStringLiteral("/NeloClock.desktop"));
    QCOMPARE(entriesIn(folder), QStringList{QStringLiteral("NeloClock.desktop")});
    const QStringList lines = QString::fromUtf8(readAll(autoStart.entryPath())).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.value(0), QStringLiteral("[Desktop Entry]"));
    QVERIFY(lines.contains(QStringLiteral("Type=Application")));
    QVERIFY(lines.contains(QStringLiteral("Exec=\"/opt/Nelo Clock/NeloClock\"")));
    QVERIFY(lines.contains(QStringLiteral("X-GNOME-Autostart-enabled=true")));
    QVERIFY(lines.contains(QStringLiteral("Name=Nelo闹钟")));
}

void XdgAutoStartTest::enableAgain_data()
{
    QTest::addColumn<QString>("secondProgram");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("neloClockExec");

    // Enabled again at every start while the option is on, so the entry
    // follows a program that has moved.
    QTest::newRow("same place") << QStringLiteral("/opt/old/NeloClock") << QStringList{QStringLiteral("NeloClock.desktop")}
                                << QStringLiteral("\"/opt/old/NeloClock\"");
    QTest::newRow("moved") << QStringLiteral("/home/u/apps/NeloClock") << QStringList{QStringLiteral("NeloClock.desktop")}
                           << QStringLiteral("\"/home/u/apps/NeloClock\"");
    // A renamed copy is another program with an entry of its own.
    QTest::newRow("renamed") << QStringLiteral("/opt/old/NeloClock2")
                             << QStringList{QStringLiteral("NeloClock.desktop"), QStringLiteral("NeloClock2.desktop")}
                             << QStringLiteral("\"/opt/old/NeloClock\"");
}

void XdgAutoStartTest::enableAgain()
{
    QFETCH(QString, secondProgram);
    QFETCH(QStringList, entries);
    QFETCH(QString, neloClockExec);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    XdgAutoStart(folder.path(), QStringLiteral("/opt/old/NeloClock")).enable();
    XdgAutoStart(folder.path(), secondProgram).enable();

    QCOMPARE(entriesIn(folder.path()), entries);
    QCOMPARE(execLine(folder.filePath(QStringLiteral("NeloClock.desktop"))), neloClockExec);
}

void XdgAutoStartTest::disableRemovesOnlyItsOwnEntry()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    XdgAutoStart(folder.path(), QStringLiteral("/opt/a/Other")).enable();
    XdgAutoStart autoStart(folder.path(), QStringLiteral("/opt/a/NeloClock"));
    autoStart.enable();
    QCOMPARE(entriesIn(folder.path()).size(), 2);

    autoStart.disable();
    QCOMPARE(entriesIn(folder.path()), QStringList{QStringLiteral("Other.desktop")});
    autoStart.disable();
    XdgAutoStart(folder.filePath(QStringLiteral("missing")), QStringLiteral("/opt/a/NeloClock")).disable();
    QCOMPARE(entriesIn(folder.path()), QStringList{QStringLiteral("Other.desktop")});

    // Switching on again after switching off must work like the first time.
    autoStart.enable();
    QCOMPARE(execLine(autoStart.entryPath()), QStringLiteral("\"/opt/a/NeloClock\""));
}

void XdgAutoStartTest::unwritableFolderFailsSilently_data()
{
    QTest::addColumn<QString>("folderUnderRoot");
    QTest::addColumn<bool>("blockWithFile");

    // Tests run as root, so permission bits stop nothing; these stop root too.
    QTest::newRow("under /proc") << QString() << false;
    QTest::newRow("file where the folder belongs") << QStringLiteral("autostart") << true;
    QTest::newRow("file where a parent folder belongs") << QStringLiteral("config/autostart") << true;
}

void XdgAutoStartTest::unwritableFolderFailsSilently()
{
    QFETCH(QString, folderUnderRoot);
    QFETCH(bool, blockWithFile);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    QString folder = QStringLiteral("/proc/neloclock-test/autostart");
    QString blocker;
    if (blockWithFile) {
        folder = root.filePath(folderUnderRoot);
        blocker = root.filePath(folderUnderRoot.section(u'/', 0, 0));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
    }

    XdgAutoStart autoStart(folder, QStringLiteral("/opt/NeloClock"));
    // Silent for the user, but on record for whoever looks.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^no folder for the login entry")));
    autoStart.enable();
    autoStart.disable();

    QVERIFY(!QFileInfo::exists(autoStart.entryPath()));
    if (blockWithFile) {
        QCOMPARE(readAll(blocker), QByteArray("not a folder"));
        QCOMPARE(entriesIn(root.path()), QStringList{QFileInfo(blocker).fileName()});
    }
}

NELOCLOCK_TEST(XdgAutoStartTest)
#include "test_xdg_auto_start.moc"
