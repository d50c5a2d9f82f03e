#include "alarms_log.h"

Q_LOGGING_CATEGORY(lcAlarms, "neloclock.alarms")
