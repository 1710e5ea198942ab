// What the parts share with the application: the program's names and
// instance, where the clock goes, the tray's message, the local time, and
// the system calls the tests replace.
#ifndef TIKAVO_PROGRAM_H
#define TIKAVO_PROGRAM_H

#include <windows.h>
#include <shellapi.h>

#include "common/localtime.h"
#include "common/systemlibs.h"

// The main window's title, also the caption the program is known by.
inline constexpr char appTitle[] = "Tikavo_T";
// The main window's class; also the tray tooltip, the balloon title and the
// about box's application name. TIKAVO_VERSION is the build's version.
inline constexpr char appNameVersion[] = "Tikavo_T " TIKAVO_VERSION;
inline constexpr wchar_t appNameVersionW[] = L"Tikavo_T " TIKAVO_VERSION;

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

// The system calls tests replace to drive or watch the program, in one
// table; `systemCalls = {}` puts the system's own back.
struct SystemCalls {
    // Reads the local time for a tick and for the alarm's switch-on.
    void (WINAPI *readLocalTime)(LPSYSTEMTIME) = GetLocalTime;
    // Arms the tick's timer.
    UINT_PTR (WINAPI *armTickTimer)(HWND, UINT_PTR, UINT, TIMERPROC) = SetTimer;
    // Where the main window's procedure hands the messages it does not handle.
    LRESULT (WINAPI *defaultWindowProc)(HWND, UINT, WPARAM, LPARAM) = DefWindowProcA;
    // Every change of the tray icon goes through it.
    BOOL (WINAPI *trayIconNotifier)(DWORD, PNOTIFYICONDATAW) = Shell_NotifyIconW;
    // Starts the name list's editor.
    BOOL (WINAPI *editorStarter)(SHELLEXECUTEINFOW*) = ShellExecuteExW;
    // The ring's sound and its box.
    BOOL (WINAPI *bellSoundPlayer)(LPCSTR, HMODULE, DWORD) = PlayBellSound;
    int (WINAPI *ringBoxShower)(HWND, LPCWSTR, LPCWSTR, UINT) = MessageBoxW;
    // The millisecond clock the countdown is measured on.
    MMRESULT (WINAPI *readMillisecondClock)(LPMMTIME, UINT) = ReadSystemMilliseconds;
};
extern SystemCalls systemCalls;

#endif
