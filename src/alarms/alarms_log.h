#pragma once

#include <QLoggingCategory>

// Failures the program deliberately does not show the user (an options store
// that cannot be written, ...). QT_LOGGING_RULES="neloclock.*=true" shows them.
Q_DECLARE_LOGGING_CATEGORY(lcAlarms)
