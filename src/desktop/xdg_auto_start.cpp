#include "xdg_auto_start.h"

#include "desktop_log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

XdgAutoStart::XdgAutoStart(QString autostartDirectory, QString executablePath)
    : m_directory(std::move(autostartDirectory))
    , m_executablePath(std::move(executablePath))
{
}

QString XdgAutoStart::defaultDirectory()
{
    // GenericConfigLocation already honours XDG_CONFIG_HOME.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

QString XdgAutoStart::entryPath() const
{
    const QString name = QFileInfo(m_executablePath).fileName();
    if (name.isEmpty())
        return {};
    return QDir(m_directory).filePath(name + QStringLiteral(".desktop"));
}

QString XdgAutoStart::execValue(const QString& program)
{
    // Three layers, innermost first: the Exec quoting rule (inside double
    // quotes a backslash must precede ", `, $ and \), the field-code rule
    // (a literal % is written %%), and finally the escapes of every string
    // value in a desktop file (\\, \n, \t, \r), which a reader undoes first.
    QString quoted;
    quoted.reserve(program.size() + 8);
    quoted += u'"';
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';

    QString value;
    value.reserve(quoted.size() + 8);
    for (const QChar c : std::as_const(quoted)) {
        switch (c.unicode()) {
        case u'%':
            value += QStringLiteral("%%");
            break;
        case u'\\':
            value += QStringLiteral("\\\\");
            break;
        case u'\n':
            value += QStringLiteral("\\n");
            break;
        case u'\t':
            value += QStringLiteral("\\t");
            break;
        case u'\r':
            value += QStringLiteral("\\r");
            break;
        default:
            value += c;
        }
    }
    return value;
}

QByteArray XdgAutoStart::entryText() const
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Nelo闹钟\n"
                                        "Comment=Nelo闹钟 alarm clock\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execValue(m_executablePath));
    return text.toUtf8();
}

void XdgAutoStart::enable()
{
    const QString path = entryPath();
    if (path.isEmpty() || !QDir().mkpath(m_directory)) {
        qCWarning(lcDesktop) << "no folder for the login entry:" << m_directory;
        return;
    }

    // QSaveFile writes beside the target and renames over it, so a session
    // that reads the folder at login never sees half an entry.
    QSaveFile file(path);
    const QByteArray text = entryText();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() || !file.commit()) {
        qCWarning(lcDesktop) << "the login entry could not be written:" << path << file.errorString();
        file.cancelWriting();
    }
}

void XdgAutoStart::disable()
{
    const QString path = entryPath();
    if (!path.isEmpty() && QFileInfo::exists(path) && !QFile::remove(path))
        qCWarning(lcDesktop) << "the login entry could not be removed:" << path;
}
