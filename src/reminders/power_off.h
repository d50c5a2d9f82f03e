#pragma once

// Asks the system to shut the computer down. Returns promptly whether or not
// the request was granted; the caller ends the program afterwards.
class PowerOff
{
public:
    virtual ~PowerOff() = default;
    virtual void shutDown() = 0;
};
