// The title-bar clock: following the foreground window and writing the
// decorated title into it.
#ifndef TIKAVO_TITLECLOCK_H
#define TIKAVO_TITLECLOCK_H

#include <windows.h>

#include "titleclock/clocktext.h"
#include "titleclock/titletext.h"

// The window the previous tick decorated; null before the first tick and
// while no window is in front.
extern HWND trackedWindow;
// What the clock has written into which window, until each is settled.
extern TitleLedger titleLedger;
// How long a title write waits for a window's owner to answer.
constexpr UINT titleWriteTimeoutMs = 200;

// Tick step 1: follows the foreground window, gives a window that left the
// front its own title back and works out the front window's own title.
void TrackForegroundWindow();
// Gives the window decorated last its own title back (at exit).
void RestoreTrackedTitle();
// Tick step 3: the day name into szDay (10 characters) and currentTime.
void FormatTickTexts(const SYSTEMTIME& now, char* szDay);
// Tick step 6: the clock text.
void FormatClockText(const SYSTEMTIME& now, const char* szDay);
// Tick step 8: composes the decorated title and writes it.
void ComposeAndWriteTitle();

#endif
