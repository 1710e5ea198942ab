// Countdown, alarm and the bell: the parts that talk to Windows.
#ifndef TIKAVO_TIMERS_H
#define TIKAVO_TIMERS_H

#include <windows.h>

#include "timers/timesettings.h"

// Plays the wave BELL in a loop, shows a message box with the text and the
// caption owned by owner, and stops the sound when the box is closed.
void RingBell(HWND owner, const char* text, const char* caption);

// The sound player RingBell uses; tests may watch it.
extern BOOL (WINAPI *bellSoundPlayer)(LPCSTR sound, HMODULE module, DWORD flags);

// Tick step 4: renews the countdown's remaining time; rings at zero.
void CheckCountdown(HWND hwnd);
// Tick step 5: rings the daily alarm when its moment has come.
void CheckAlarm(HWND hwnd, const SYSTEMTIME& now);

// The handlers of the tray menu's "Odpočítávání" and "Alarm".
void RunCountdownDialog(HWND hwnd);
void RunAlarmDialog(HWND hwnd);

#endif
