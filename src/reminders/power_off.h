#pragma once

#include <functional>
#include <memory>

// Asks the system to shut the computer down without holding up the window:
// answered is called once the system has taken the request or refused it
// (and the user has been told), possibly before shutDown returns. The
// program ends then.
class PowerOff
{
public:
    virtual ~PowerOff() = default;
    virtual void shutDown(std::function<void()> answered) = 0;
};

// This platform's power-off: systemd-logind on Linux, ExitWindowsEx on
// Windows. Only the program itself calls this; tests never reach the real
// machine's power.
std::unique_ptr<PowerOff> CreatePowerOff();
