// The daily alarm: its dialog and its tick step.
// The alarm itself is not built yet: the step does nothing and the dialog
// does not open.
#include "timers/timers.h"

void CheckAlarm(HWND, const SYSTEMTIME&) {}

void RunAlarmDialog(HWND) {}
