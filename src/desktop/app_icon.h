#pragma once

#include <QIcon>

// The program's alarm-clock icon, for the main window and the notification
// area, with the 16, 32 and 64 pixel images drawn from icons/neloclock.svg.
QIcon AppIcon();
