#include "program_layout.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// NELOCLOCK_BIN_NAME (the bin folder's own name), NELOCLOCK_BIN_TO_DATA and
// NELOCLOCK_BIN_TO_PLUGINS (the share and plugin folders relative to the bin
// folder) come from the build's install rules.

ProgramLayout ProgramLayoutOf(const QString& programFolder)
{
    ProgramLayout layout{programFolder, QString(), programFolder};
    if (QFileInfo(programFolder).fileName() != QLatin1StringView(NELOCLOCK_BIN_NAME))
        return layout;
    const QDir folder(programFolder);
    const QString data = QDir::cleanPath(folder.filePath(QStringLiteral(NELOCLOCK_BIN_TO_DATA)));
    if (!QFileInfo(data).isDir())
        return layout;
    layout.installedDataFolder = data;
    layout.pluginFolder = QDir::cleanPath(folder.filePath(QStringLiteral(NELOCLOCK_BIN_TO_PLUGINS)));
    return layout;
}

QString UserDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QStringList AlarmSoundFolders(const ProgramLayout& layout, const QString& userDataFolder)
{
    if (!layout.installed())
        return {layout.programFolder};
    return {userDataFolder, layout.programFolder, layout.installedDataFolder};
}
