#include "power_off.h"

#include "shutdown_sequence.h"

#include <windows.h>

namespace {

class Win32ShutdownCalls final : public ShutdownCalls
{
public:
    ~Win32ShutdownCalls() override
    {
        if (m_token != nullptr)
            CloseHandle(m_token);
    }

    std::uint32_t getVersion() override
    {
        // Deprecated in newer SDKs, but bit 31 still tells the NT family apart.
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
        return static_cast<std::uint32_t>(GetVersion());
    }
    void setLastError(std::uint32_t code) override { SetLastError(code); }
    std::uint32_t getLastError() override { return GetLastError(); }
    void getCurrentProcess() override { m_process = GetCurrentProcess(); }
    void openProcessToken() override
    {
        OpenProcessToken(m_process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &m_token);
    }
    void lookupShutdownPrivilege() override { LookupPrivilegeValueA("", "SeShutdownPrivilege", &m_luid); }
    void adjustTokenPrivileges() override
    {
        TOKEN_PRIVILEGES newState = {};
        newState.PrivilegeCount = 1;
        newState.Privileges[0].Luid = m_luid;
        newState.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        TOKEN_PRIVILEGES previousState = {};
        DWORD returnLength = 0;
        AdjustTokenPrivileges(m_token, FALSE, &newState, sizeof(previousState), &previousState, &returnLength);
    }
    void exitWindows(std::uint32_t flags, std::uint32_t reserved) override
    {
        ExitWindowsEx(static_cast<UINT>(flags), static_cast<DWORD>(reserved));
    }
    void showMessage(const std::string& text) override
    {
        MessageBoxA(nullptr, text.c_str(), "NeloClock", MB_OK);
    }

private:
    HANDLE m_process = nullptr;
    HANDLE m_token = nullptr;
    LUID m_luid = {};
};

// Shuts Windows down with ExitWindowsEx after enabling the shutdown privilege
// of the own process token, with a forced shutdown as fallback.
class WindowsPowerOff final : public PowerOff
{
public:
    void shutDown(std::function<void()> answered) override
    {
        // ExitWindowsEx only queues the request; it does not wait for it.
        Win32ShutdownCalls calls;
        ShutDownPC(calls);
        answered();
    }
};

} // namespace

std::unique_ptr<PowerOff> CreatePowerOff()
{
    return std::make_unique<WindowsPowerOff>();
}
