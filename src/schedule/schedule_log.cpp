#include "schedule_log.h"

Q_LOGGING_CATEGORY(lcSchedule, "neloclock.schedule")
