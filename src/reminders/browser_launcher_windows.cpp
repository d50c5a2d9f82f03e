#include "browser_launcher.h"

#include "ie_command_line.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring SystemDirectory()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
    if (length == 0 || length > MAX_PATH)
        return std::wstring();
    return std::wstring(buffer, length);
}

void StartCommandLine(const std::wstring& commandLine)
{
    // CreateProcessW may write into the command line, so it gets a copy.
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        // The browser runs on its own; nothing waits for it.
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

} // namespace

BrowserLauncher::BrowserLauncher()
    : BrowserLauncher(&StartCommandLine)
{
}

BrowserLauncher::BrowserLauncher(Start start)
    : m_start(std::move(start))
{
}

void BrowserLauncher::openUrl(const QString& address)
{
    m_start(IeCommandLine(SystemDirectory(), address.toStdWString()));
}
