// The application shell: the program's names, the hidden main window and its
// procedure, the one-second tick.
#ifndef TIKAVO_APP_H
#define TIKAVO_APP_H

#include <windows.h>

// The module instance; every resource and dialog is loaded from it.
extern HINSTANCE appInstance;

// The main window's title, also the caption the program is known by.
extern const char appTitle[];
// The main window's class; also the tray tooltip, balloon title and the
// about box's application name.
extern const char appNameVersion[];

// 1: the clock text goes in front of the foreground window's own title;
// 0 (the start value): behind it.
extern int placeBefore;

constexpr UINT trayCallbackMessage = WM_USER + 1;
constexpr UINT_PTR mainTimerId = 0;

// The message the shell broadcasts when the taskbar is (re)created.
extern UINT taskbarCreatedMessage;

// Reads the local time for a tick; tests may point it elsewhere to drive
// the tick through chosen moments.
extern void (WINAPI *readLocalTime)(LPSYSTEMTIME);
// Arms the tick's timer (the system's SetTimer); tests may watch the periods
// it is given.
extern UINT_PTR (WINAPI *armTickTimer)(HWND, UINT_PTR, UINT, TIMERPROC);
// Where the main window's procedure hands the messages it does not handle;
// tests may watch it.
extern LRESULT (WINAPI *defaultWindowProc)(HWND, UINT, WPARAM, LPARAM);

// Registers the main window's class; false when the system refuses.
bool RegisterMainWindowClass();
// Creates the hidden main window (its creation handler sets everything up).
HWND CreateMainWindow();

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// One clock tick: the eight steps in their order, at the caller's own pace
// (the main timer's ticks also arm the timer for the next one).
void RunTick(HWND hwnd);

#endif
