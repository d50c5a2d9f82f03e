#pragma once

#include "url_opener.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

// Opens web addresses for the alarms and the forum link. On Windows it starts
// Internet Explorer from its fixed folder; elsewhere it hands the address to
// the desktop's default browser. The process start is passed in, so the
// command line can be checked without starting anything.
class BrowserLauncher final : public UrlOpener
{
public:
#ifdef _WIN32
    // Starts a command line, detached, with a normal activated window.
    using Start = std::function<void(const std::wstring& commandLine)>;
#else
    // Starts a program with its arguments, detached.
    using Start = std::function<void(const QString& program, const QStringList& arguments)>;
#endif

    // Starts real processes.
    BrowserLauncher();
    explicit BrowserLauncher(Start start);

    void openUrl(const QString& address) override;

#ifndef _WIN32
    // The address as the browser gets it: "http://" goes before an address
    // that names no scheme of its own (a bare host such as "www.example.com").
    static QString withScheme(const QString& address);
#endif

private:
    Start m_start;
};
