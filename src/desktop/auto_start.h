#pragma once

// Registers the running executable to start when the user logs in, and
// removes that registration. Both fail silently.
class AutoStart
{
public:
    virtual ~AutoStart() = default;
    virtual void enable() = 0;
    virtual void disable() = 0;
};
