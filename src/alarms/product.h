#pragma once

#include <QString>

// The program's name as users know it: the tray tip, message box titles and
// the start of the window title.
inline const QString kProductName = QStringLiteral("Nelo闹钟");
