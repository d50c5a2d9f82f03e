#pragma once

#include "power_off.h"

// Shuts Windows down with ExitWindowsEx after enabling the shutdown privilege
// of the own process token (NT family), with a forced shutdown as fallback.
class WindowsPowerOff final : public PowerOff
{
public:
    void shutDown(std::function<void()> answered) override;
};
