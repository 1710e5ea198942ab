// The application shell: the hidden main window and its procedure, the
// one-second tick.
#ifndef TIKAVO_APP_H
#define TIKAVO_APP_H

#include <windows.h>

#include "common/program.h"

constexpr UINT_PTR mainTimerId = 0;

// Registers the main window's class; false when the system refuses.
bool RegisterMainWindowClass();
// Creates the hidden main window (its creation handler sets everything up).
HWND CreateMainWindow();

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// One clock tick: the eight steps in their order, at the caller's own pace
// (the main timer's ticks also arm the timer for the next one).
void RunTick(HWND hwnd);

#endif
