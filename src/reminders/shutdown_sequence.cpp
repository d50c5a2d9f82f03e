#include "shutdown_sequence.h"

namespace {

void EnableShutdownPrivilege(ShutdownCalls& calls)
{
    // The error code is cleared once only: a code left by one step is
    // reported again after the next step that does not change it.
    calls.setLastError(0);
    const auto check = [&calls](const char* text) {
        const std::uint32_t code = calls.getLastError();
        if (code != 0)
            calls.showMessage(std::string(text) + std::to_string(code));
    };
    calls.getCurrentProcess();
    check("GetCurrentProcess error==");
    calls.openProcessToken();
    check("OpenProcessToken error==");
    calls.lookupShutdownPrivilege();
    check("LookupPrivilegeValue error==");
    calls.adjustTokenPrivileges();
    check("AdjustTokenPrivileges error==");
}

// Runs one step and carries on whatever it threw.
template <typename Step>
void Skipping(Step&& step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

bool IsWinNT(std::uint32_t version)
{
    return (version & 0x80000000u) == 0;
}

void ShutDownPC(ShutdownCalls& calls)
{
    try {
        if (IsWinNT(calls.getVersion()))
            EnableShutdownPrivilege(calls);
        calls.exitWindows(ShutdownFlags::kShutdown, ShutdownFlags::kReserved);
    } catch (...) {
        ForceShutDownPC(calls);
    }
}

void ForceShutDownPC(ShutdownCalls& calls)
{
    bool winNT = false;
    Skipping([&] { winNT = IsWinNT(calls.getVersion()); });
    if (winNT)
        Skipping([&] { EnableShutdownPrivilege(calls); });
    Skipping([&] { calls.exitWindows(ShutdownFlags::kShutdown | ShutdownFlags::kForce, ShutdownFlags::kReserved); });
}
