#pragma once

#include <QString>
#include <QStringList>

// What the advertisement panel needs to know about this process, answered
// by each platform's own file.

// Whether the process runs with root's rights (never on Windows).
bool RunningAsRoot();
// The executable's folder, also before the application object exists.
QString ExecutableFolder(const QStringList& arguments);
// The file name of the web view plugin beside the executable.
QString WebViewPluginFileName();
