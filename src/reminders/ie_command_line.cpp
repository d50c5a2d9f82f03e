#include "ie_command_line.h"

std::optional<std::wstring> GetSysFolder(std::wstring_view kind, std::wstring_view systemDirectory)
{
    const std::size_t lastBackslash = systemDirectory.rfind(L'\\');
    if (lastBackslash == std::wstring_view::npos)
        return std::nullopt;

    const std::wstring windowsFolder(systemDirectory.substr(0, lastBackslash));
    // The drive root ("C:\") of the Windows folder; the browser is looked for
    // there whatever drive it was really installed on.
    const std::wstring ieFolder = windowsFolder.substr(0, 3) + L"Program Files\\Internet Explorer";

    if (kind == L"IE")
        return ieFolder;
    if (kind == L"WIN")
        return windowsFolder;
    return std::wstring();
}

std::wstring IeCommandLine(std::wstring_view systemDirectory, std::wstring_view address)
{
    const std::wstring folder = GetSysFolder(L"IE", systemDirectory).value_or(std::wstring());
    // The path has blanks in it (Program Files), so it is quoted; the address
    // goes on unchanged, as the browser's own argument text.
    std::wstring commandLine = L"\"" + folder + L"\\IEXPLORE.EXE\" ";
    commandLine += address;
    return commandLine;
}
