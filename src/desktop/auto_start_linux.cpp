#include "auto_start_factory.h"
#include "xdg_auto_start.h"

std::unique_ptr<AutoStart> CreateAutoStart(const QString& executablePath)
{
    return std::make_unique<XdgAutoStart>(XdgAutoStart::defaultDirectory(), executablePath);
}
