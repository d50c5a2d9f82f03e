#include "browser_launcher.h"

#include <QProcess>

std::unique_ptr<UrlOpener> CreateUrlOpener()
{
    // One argument, never split on blanks: xdg-open gets the address whole.
    return std::make_unique<BrowserLauncher>(
        [](const QString& address) { return QProcess::startDetached(QStringLiteral("xdg-open"), {address}); });
}
