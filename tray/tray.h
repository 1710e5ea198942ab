// The notification-area icon and its popup menu.
#ifndef TIKAVO_TRAY_H
#define TIKAVO_TRAY_H

#include <windows.h>
#include <shellapi.h>

// The system call tests replace; `trayCalls = {}` puts the system's own back.
struct TrayCalls {
    BOOL (WINAPI *notifyIcon)(DWORD, PNOTIFYICONDATAW) = Shell_NotifyIconW;   // every change of the icon
};
extern TrayCalls trayCalls;

// Adds the icon at the small-icon size for the window's DPI, with its
// tooltip and a quiet greeting balloon; true when the shell took it. A
// refusal is asked for again at the next ticks (RetryTrayIcon).
bool AddTrayIcon(HWND hwnd);
// Removes the icon, if the shell has it; true when it has none left. A
// refusal is shown in a message box.
bool RemoveTrayIcon(HWND hwnd);
// Opens the popup menu at the cursor, "Bez sekund" checked while the clock
// shows no seconds; the chosen command comes back to hwnd as WM_COMMAND.
// Always 0.
int ShowTrayMenu(HWND hwnd, bool withoutSeconds);
// Puts the icon back where the shell has none (after "TaskbarCreated", or
// asked by a second start); when the icon still exists it is renewed
// instead. No greeting this time; asked by a second start, a silent balloon
// says that the program runs already. A refusal is asked for again at the
// next ticks.
bool ReAddTrayIcon(HWND hwnd, bool secondStart = false);
// Asks again for an icon the shell refused, at every tick for two minutes;
// when the last try is refused too, says so in a message box, once a run.
void RetryTrayIcon();
// Gives the icon its image at the small-icon size for a new DPI
// (WM_DPICHANGED).
void RenewTrayIconImage(UINT dpi);
// The tooltip's first line: today's day (Windows-1250), date and name
// (Windows-1250; none when empty). The shell is told only when it changes.
void ShowTodayInTip(const char* szDay, const SYSTEMTIME& now, const char* name);

#endif
