#include "reminders_log.h"

Q_LOGGING_CATEGORY(lcReminders, "neloclock.reminders")
