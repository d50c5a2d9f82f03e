#pragma once

#include <cstdint>
#include <string>

// The Windows shutdown as a sequence over the few system calls it needs, so
// the order of calls and the messages can be checked on any platform.
// Production passes the real Win32 calls (WindowsPowerOff); tests a recorder.
class ShutdownCalls
{
public:
    virtual ~ShutdownCalls() = default;

    virtual std::uint32_t getVersion() = 0;
    virtual void setLastError(std::uint32_t code) = 0;
    virtual std::uint32_t getLastError() = 0;
    virtual void getCurrentProcess() = 0;
    // Opens the own process token for TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY.
    virtual void openProcessToken() = 0;
    // Looks up the identifier of "SeShutdownPrivilege" on the local system.
    virtual void lookupShutdownPrivilege() = 0;
    // Enables the looked-up privilege in the opened token.
    virtual void adjustTokenPrivileges() = 0;
    virtual void exitWindows(std::uint32_t flags, std::uint32_t reserved) = 0;
    // Modal message box with an OK button; returns when it is closed.
    virtual void showMessage(const std::string& text) = 0;
};

struct ShutdownFlags
{
    static constexpr std::uint32_t kShutdown = 1;     // EWX_SHUTDOWN
    static constexpr std::uint32_t kReserved = 0xFFFFFFFFu;
};

// Asks for a shutdown: on the NT family it first enables the shutdown
// privilege, reporting each failing step with the thread's last-error code.
// It does not look at whether the system agreed.
void ShutDownPC(ShutdownCalls& calls);

// Whether the version number belongs to the NT family (bit 31 clear).
bool IsWinNT(std::uint32_t version);
