#include "logind_power_off.h"

std::unique_ptr<PowerOff> CreatePowerOff()
{
    return std::make_unique<LogindPowerOff>(QDBusConnection::systemBus(), &LogindPowerOff::showMessageBox);
}
