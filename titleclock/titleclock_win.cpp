// Foreground tracking and title writing.
// Not built yet: every step does nothing.
#include "titleclock/titleclock.h"

void TrackForegroundWindow() {}
void RestoreTrackedTitle() {}
void FormatTickTexts(const SYSTEMTIME&, char* szDay) { szDay[0] = '\0'; }
void FormatClockText(const SYSTEMTIME&, const char*) {}
void ComposeAndWriteTitle() {}
