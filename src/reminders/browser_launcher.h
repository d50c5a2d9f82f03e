#pragma once

#include "url_opener.h"

#include <QString>

#include <functional>
#include <memory>

// Opens web addresses for the alarms and the forum link in the user's
// default browser. How the address reaches the browser is passed in, so
// tests can see what would be opened without starting anything.
class BrowserLauncher final : public UrlOpener
{
public:
    // Hands one address to the desktop, detached; false when that failed.
    using Open = std::function<bool(const QString& address)>;

    explicit BrowserLauncher(Open open);

    // The address as the browser gets it, "http://" before a bare host.
    void openUrl(const QString& address) override;

private:
    Open m_open;
};

// This platform's way into the default browser: xdg-open on Linux,
// ShellExecuteW on Windows.
std::unique_ptr<UrlOpener> CreateUrlOpener();
