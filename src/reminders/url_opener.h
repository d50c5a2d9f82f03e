#pragma once

#include <QString>

// Opens a web address in the browser. Returns at once, never waits for the
// browser, and fails silently.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual void openUrl(const QString& address) = 0;
};
