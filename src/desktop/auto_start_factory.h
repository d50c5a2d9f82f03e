#pragma once

#include "auto_start.h"

#include <QString>

#include <memory>

// The login registration of this platform for the executable at
// executablePath: an XDG autostart entry on Linux, the per-user Run value on
// Windows. Each platform's file (auto_start_linux.cpp, auto_start_windows.cpp)
// supplies the definition; CMake compiles exactly one of them.
std::unique_ptr<AutoStart> CreateAutoStart(const QString& executablePath);
