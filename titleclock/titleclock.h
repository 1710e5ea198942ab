// The title-bar clock on the system's windows: following the foreground
// window, decorating it and giving every window its own title back.
#ifndef TIKAVO_TITLECLOCK_H
#define TIKAVO_TITLECLOCK_H

#include <windows.h>

#include "titleclock/clocktext.h"
#include "titleclock/titleledger.h"

// Follows the foreground window and gives every other window its own title
// back.
void TrackForegroundWindow();
// Gives every window its own title back (at exit).
void RestoreTrackedTitle();
// The clock text last formatted, e.g. "  * Neděle - 6.12.2026 - 22:48:35 * ".
extern char clockText[1000];
// Formats the clock text of the tick's time, with its seconds or without.
void FormatClockText(const SYSTEMTIME& now, const char* szDay, bool seconds);
// Decorates the foreground window.
void ComposeAndWriteTitle(const TitleParts& parts);

#endif
