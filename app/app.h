// The application shell: the hidden main window and its procedure, the
// one-second tick.
#ifndef TIKAVO_APP_H
#define TIKAVO_APP_H

#include <windows.h>

#include "common/program.h"

constexpr UINT_PTR mainTimerId = 0;

// The registered message a second start (or an older version's) sends to the
// running copy's main window: add the tray icon again where the shell has
// none, and say that the program runs already.
inline constexpr wchar_t iconWantedMessageName[] = L"Tikavo_T: icon wanted";

// Registers the main window's class; false when the system refuses.
bool RegisterMainWindowClass();
// Creates the hidden main window (its creation handler sets everything up);
// none when its creation or its timer fails.
HWND CreateMainWindow();
// Registers the class, creates the main window and runs the thread's message
// loop until the window has gone; the process's exit code: the quit
// message's, or 1 when the class or the window cannot be made.
int RunMainWindow();

// The system calls tests replace; `appCalls = {}` puts the system's own back.
struct AppCalls {
    void (WINAPI *readLocalTime)(LPSYSTEMTIME) = GetLocalTime;   // the tick's time
    UINT_PTR (WINAPI *armTickTimer)(HWND, UINT_PTR, UINT, TIMERPROC) = SetTimer;
    BOOL (WINAPI *allowMessage)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT) = ChangeWindowMessageFilterEx;
    LRESULT (WINAPI *defaultWindowProc)(HWND, UINT, WPARAM, LPARAM) = DefWindowProcA;   // for the rest
};
extern AppCalls appCalls;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// One clock tick: the eight steps in their order, at the caller's own pace
// (the main timer's ticks also arm the timer for the next one).
void RunTick(HWND hwnd);

#endif
