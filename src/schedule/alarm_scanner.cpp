#include "alarm_scanner.h"
// The scan itself follows in the next commit.
