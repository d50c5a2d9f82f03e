#include "process_facts.h"

#include <QFileInfo>

#include <unistd.h>

bool RunningAsRoot()
{
    return geteuid() == 0;
}

QString ExecutableFolder(const QStringList& arguments)
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!self.isEmpty())
        return QFileInfo(self).absolutePath();
    return arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).absolutePath();
}

QString WebViewPluginFileName()
{
    return QStringLiteral("libneloclock_webview.so");
}
