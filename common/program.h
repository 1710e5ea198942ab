// What the parts share with the application: the program's names and
// instance, where the clock goes, the tray's message and the local time.
#ifndef TIKAVO_PROGRAM_H
#define TIKAVO_PROGRAM_H

#include <windows.h>

#include "common/localtime.h"
#include "common/systemlibs.h"

// The main window's title, also the caption the program is known by.
inline constexpr char appTitle[] = "Tikavo_T";
// The main window's class, "Tikavo_T " and the build's version; also the tray
// tooltip, the balloon title and the about box's application name. Defined
// apart (version.cpp), so that a test build of the same sources can carry
// another version.
extern const char appNameVersion[];
extern const wchar_t appNameVersionW[];

// The module instance; every resource and dialog is loaded from it.
extern HINSTANCE appInstance;

// 1: the clock text goes in front of the foreground window's own title;
// 0 (the start value): behind it.
extern int placeBefore;

// The message the tray icon sends to the main window.
constexpr UINT trayCallbackMessage = WM_USER + 1;

// A local time to the second, as the tick's rules count it.
inline LocalMoment MomentOf(const SYSTEMTIME& st)
{
    return { st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond };
}

#endif
