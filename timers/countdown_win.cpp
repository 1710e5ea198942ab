// The countdown: its dialog and its tick step.
// The countdown itself is not built yet: the step does nothing and the
// dialog does not open.
#include "timers/timers.h"

void CheckCountdown(HWND) {}

void RunCountdownDialog(HWND) {}
