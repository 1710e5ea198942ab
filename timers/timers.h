// Countdown, alarm and the bell: the parts that talk to Windows.
#ifndef TIKAVO_TIMERS_H
#define TIKAVO_TIMERS_H

#include <windows.h>

#include <string>

#include "common/systemlibs.h"
#include "timers/timesettings.h"

// The system calls tests replace; `timerCalls = {}` puts the system's own back.
struct TimerCalls {
    void (WINAPI *readLocalTime)(LPSYSTEMTIME) = GetLocalTime;   // at the alarm's switch-on
    MMRESULT (WINAPI *readMillisecondClock)(LPMMTIME, UINT) = ReadSystemMilliseconds;   // the countdown's
    BOOL (WINAPI *playBellSound)(LPCSTR, HMODULE, DWORD) = PlayBellSound;
    int (WINAPI *showRingBox)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
};
extern TimerCalls timerCalls;

// The settings both dialogs edit in place, and the countdown as the tick
// reads it: 1 while it runs, the remaining time "HH:MM:SS", and the note
// shown with it, as typed.
extern TimerSettingsRecord TimerSettings;
extern int countdownActive;
extern std::string countdownRemaining;
extern std::u16string countdownNote;

// Plays the wave BELL in a loop, shows a message box with the text and the
// caption owned by owner, above every other window, and stops the sound when
// the box is closed.
// Wide texts: the countdown's note shows as typed on any code page.
void RingBell(HWND owner, const wchar_t* text, const wchar_t* caption);

// Renews the countdown's remaining time; rings at zero. True
// when it rang: the tick was held in the ring's box until it was closed.
bool CheckCountdown(HWND hwnd);
// Rings the daily alarm when its moment has come.
void CheckAlarm(HWND hwnd, const SYSTEMTIME& now);

// Starts the countdown from now on the millisecond clock.
void StartCountdown();
// The handlers of the tray menu's "Odpočítávání" and "Alarm". While a
// dialog is open, its command brings it to the front instead of opening
// a second one.
void RunCountdownDialog(HWND hwnd);
void RunAlarmDialog(HWND hwnd);

// The dialogs' date-time picker shows a time string as today's date with
// that time of day, and gives back only its time of day ("HH:MM:SS" into a
// buffer of at least 9 characters; false when the picker has no valid time).
void SetPickerTime(HWND picker, const char* timeString);
bool ReadPickerTime(HWND picker, char* timeString);

#endif
