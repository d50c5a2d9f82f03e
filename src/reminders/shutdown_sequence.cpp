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

} // namespace

bool IsWinNT(std::uint32_t version)
{
    return (version & 0x80000000u) == 0;
}

void ShutDownPC(ShutdownCalls& calls)
{
    if (IsWinNT(calls.getVersion()))
        EnableShutdownPrivilege(calls);
    calls.exitWindows(ShutdownFlags::kShutdown, ShutdownFlags::kReserved);
}
