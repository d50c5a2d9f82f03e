#pragma once

#include <QString>
#include <QStringList>

// Where the program's own files are.
//
// An installed copy sits in the bin folder of a prefix that also holds the
// program's share folder (/usr/bin/NeloClock beside /usr/share/neloclock).
// It never writes into its program folder, whoever runs it: the user's files
// live in the per-user data folder, the default sound and the web view
// plugin come from the prefix. Both are found from the executable's own
// folder, so an installed tree that is moved or unpacked elsewhere still
// works.
//
// Any other copy (a build tree, an unpacked folder) is portable: everything
// lies beside the executable.
struct ProgramLayout
{
    QString programFolder;
    // <prefix>/share/neloclock of an installed copy; empty for a portable one.
    QString installedDataFolder;
    // Where the web view plugin is: <prefix>/<library folder>/neloclock or the
    // program folder.
    QString pluginFolder;

    bool installed() const { return !installedDataFolder.isEmpty(); }
};

ProgramLayout ProgramLayoutOf(const QString& programFolder);

// The per-user data folder (~/.local/share/<application name>); not created.
QString UserDataFolder();

// The folders alarm.wav is looked for in, the first that has one wins. A
// portable copy has only its program folder; an installed copy looks in the
// user's data folder, then the program folder, then its installed default.
QStringList AlarmSoundFolders(const ProgramLayout& layout, const QString& userDataFolder);
