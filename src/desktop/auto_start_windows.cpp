// Start at login on Windows: a value in the current user's Run key. Only the
// Win32 API and the standard library are used below the factory, so this file
// stays independent of the Qt version the rest of the program is built with.

#include "auto_start_factory.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <QDir>

#include <string>
#include <utility>

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Closes a registry key handle on every way out of a scope.
class RegistryKey final
{
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }

    HKEY* receive() { return &m_key; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// The per-user key needs no administrator rights, unlike the machine-wide
// one, and a value there starts the program only for the user who asked.
class RunKeyAutoStart final : public AutoStart
{
public:
    explicit RunKeyAutoStart(std::wstring executablePath)
        : m_executablePath(std::move(executablePath))
        , m_valueName(fileStem(m_executablePath))
    {
    }

    void enable() override
    {
        if (m_valueName.empty())
            return;
        RegistryKey key;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                            key.receive(), nullptr)
            != ERROR_SUCCESS)
            return;
        // Quoted, because the shell splits an unquoted command line at the
        // first blank and "C:\Program Files\..." would start "C:\Program".
        const std::wstring data = L"\"" + m_executablePath + L"\"";
        const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
        RegSetValueExW(key.get(), m_valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    }

    void disable() override
    {
        if (m_valueName.empty())
            return;
        RegistryKey key;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, key.receive()) != ERROR_SUCCESS)
            return;
        // ERROR_FILE_NOT_FOUND for a value that was never written is fine.
        RegDeleteValueW(key.get(), m_valueName.c_str());
    }

private:
    // "C:\Tools\NeloClock.exe" -> "NeloClock"; the value is named after the
    // executable so that a renamed copy registers separately.
    static std::wstring fileStem(const std::wstring& path)
    {
        const std::wstring::size_type slash = path.find_last_of(L"\\/");
        std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
        const std::wstring::size_type dot = name.find_last_of(L'.');
        if (dot != std::wstring::npos && dot != 0)
            name.erase(dot);
        return name;
    }

    std::wstring m_executablePath;
    std::wstring m_valueName;
};

} // namespace

std::unique_ptr<AutoStart> CreateAutoStart(const QString& executablePath)
{
    return std::make_unique<RunKeyAutoStart>(QDir::toNativeSeparators(executablePath).toStdWString());
}
