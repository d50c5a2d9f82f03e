#include "process_facts.h"

#include <QFileInfo>

bool RunningAsRoot()
{
    return false;
}

QString ExecutableFolder(const QStringList& arguments)
{
    return arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).absolutePath();
}

QString WebViewPluginFileName()
{
    return QStringLiteral("neloclock_webview.dll");
}
