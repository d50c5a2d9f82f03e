#include "desktop_log.h"

Q_LOGGING_CATEGORY(lcDesktop, "neloclock.desktop")
