#include "browser_launcher.h"

#include <windows.h>

#include <shellapi.h>

std::unique_ptr<UrlOpener> CreateUrlOpener()
{
    return std::make_unique<BrowserLauncher>([](const QString& address) {
        const std::wstring wide = address.toStdWString();
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        // Values above 32 mean the shell took the request.
        return result > 32;
    });
}
