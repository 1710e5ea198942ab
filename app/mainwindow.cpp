// The hidden main window: creation, the one-second tick, the tray callback,
// the menu commands and destruction.
#include "app/app.h"

#include <shellapi.h>

#include "app/tickschedule.h"

#include "namedays/namedays.h"
#include "res/resource.h"
#include "timers/timers.h"
#include "titleclock/titleclock.h"
#include "tray/tray.h"

// The message the shell broadcasts when the taskbar is (re)created, and the
// one a second start sends (iconWantedMessageName).
static UINT taskbarCreatedMessage, iconWantedMessage;
AppCalls appCalls;
static TickSchedule tickSchedule;
// "Bez sekund": the clock shows hours and minutes only (not at a start).
static bool withoutSeconds;

// Hodiny v titulku okna – den, datum, čas a jméno, které má svátek.
static const wchar_t aboutNotice[] =
    L"Hodiny v titulku okna \u2013 den, datum, \u010Das a jm\u00E9no, kter\u00E9 m\u00E1 sv\u00E1tek.";

bool RegisterMainWindowClass()
{
    WNDCLASSEXA wincl = {};
    wincl.cbSize = sizeof wincl;
    wincl.style = CS_DBLCLKS;
    wincl.lpfnWndProc = MainWindowProc;
    wincl.cbClsExtra = 0;
    wincl.cbWndExtra = 0;
    wincl.hInstance = appInstance;
    wincl.hIcon = LoadIconA(appInstance, nullptr);
    wincl.hIconSm = LoadIconA(appInstance, nullptr);
    wincl.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wincl.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wincl.lpszMenuName = nullptr;
    wincl.lpszClassName = appNameVersion;
    return RegisterClassExA(&wincl) != 0;
}

HWND CreateMainWindow()
{
    // At the origin, which is the primary monitor's, whose taskbar holds the
    // notification area: the tray icon is sized for that monitor's DPI (the
    // window's). At CW_USEDEFAULT a program started from a window on another
    // monitor would stand on that one (STARTF_USEMONITOR in Microsoft's
    // STARTUPINFO documentation) and take its scale.
    return CreateWindowExA(0, appNameVersion, appTitle, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

int RunMainWindow()
{
    // A start that fails ends the process, and with it the single-instance
    // mutex, rather than wait for messages that never come.
    if (!RegisterMainWindowClass() || !CreateMainWindow())
        return 1;
    MSG messages = {};
    while (GetMessageA(&messages, nullptr, 0, 0) > 0) {
        TranslateMessage(&messages);
        DispatchMessageA(&messages);
    }
    return static_cast<int>(messages.wParam);
}

// One tick, its steps in their order. A message of the main timer (timed)
// also arms the timer for just after the start of the next second, and is no
// tick while the second of the last tick is still running.
static void Tick(HWND hwnd, bool timed)
{
    // 1. Follow the window in front; every other window gets its title back.
    TrackForegroundWindow();

    // 2. Read the local time, once: every text of the tick is made from it.
    SYSTEMTIME now;
    appCalls.readLocalTime(&now);
    if (timed) {
        // Armed before anything of this tick can open a box: the ticks
        // inside the box keep the step, and this tick, should it be held
        // there, does not arm the timer from its old reading when it resumes.
        // The same window and identifier, so never a second timer.
        TickPlan plan = PlanTick(tickSchedule, MomentOf(now), now.wMilliseconds);
        if (plan.armMs)
            appCalls.armTickTimer(hwnd, mainTimerId, plan.armMs, nullptr);
        if (!plan.tickNow)
            return;
    }

    char szDay[dayNameSize];   // 3. the day's name
    ChooseDayName(now.wDayOfWeek, szDay);
    // 4. The countdown, 5. the alarm. A tick held in the countdown's ring box
    // resumes with the time it read before the box; the ticks inside the box
    // have checked the alarm since.
    if (!CheckCountdown(hwnd))
        CheckAlarm(hwnd, now);
    FormatClockText(now, szDay, !withoutSeconds);   // 6. the clock text
    // 7. Today's name, when a lookup is due (the tick that reports a list
    // that cannot be opened ends here), and in the tooltip; 8. the title.
    if (UpdateTodayName(now.wDay, now.wMonth)) {
        ShowTodayInTip(szDay, now, todayName.c_str());
        ComposeAndWriteTitle({ clockText, todayName.c_str(), countdownActive ? countdownRemaining.c_str() : nullptr,
                               countdownNote.c_str(), placeBefore != 0 });
    }
    // 9. An icon the shell refused, asked for again; last: its box, should
    // every try have failed, holds no step of this tick.
    RetryTrayIcon();
}

void RunTick(HWND hwnd)
{
    Tick(hwnd, false);
}

static void OnCommand(HWND hwnd, WORD command)
{
    switch (command) {
    case IDM_ABOUT:
        ShellAboutW(hwnd, appNameVersionW, aboutNotice, LoadIconW(appInstance, L"small"));
        break;
    case IDM_EXIT:         DestroyWindow(hwnd); break;   // its destruction takes the icon away
    case IDM_PLACE_BEFORE: placeBefore = 1; break;
    case IDM_PLACE_AFTER:  placeBefore = 0; break;
    case IDM_WITHOUT_SECONDS: withoutSeconds = !withoutSeconds; break;   // from the next tick
    case IDM_COUNTDOWN:    RunCountdownDialog(hwnd); break;
    case IDM_ALARM:        RunAlarmDialog(hwnd); break;
    // Also while a ring's box is open: the editor holds nothing, and the box
    // stands above it with the bell looping until it is closed.
    case IDM_EDIT_NAMES:   EditNameList(); break;
    default:               break;   // unknown commands are ignored
    }
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Registered messages are not constants, so they are tested first (both
    // 0 until the window's creation).
    if (message != 0 && (message == taskbarCreatedMessage || message == iconWantedMessage)) {
        ReAddTrayIcon(hwnd, message == iconWantedMessage);
        return 0;
    }

    switch (message) {
    case WM_CREATE:
        taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
        iconWantedMessage = RegisterWindowMessageW(iconWantedMessageName);
        // Run as administrator, the window stands above Explorer's integrity
        // level, and Windows drops the registered messages and those from
        // WM_USER up that lower levels send it (UIPI; Microsoft's
        // ChangeWindowMessageFilterEx documentation, Windows 7 and later):
        // the shell's "TaskbarCreated", a second start's request and the
        // icon's own clicks are let through.
        for (UINT heard : { taskbarCreatedMessage, iconWantedMessage, trayCallbackMessage })
            appCalls.allowMessage(hwnd, heard, MSGFLT_ALLOW, nullptr);
        InitTimerSettings(TimerSettings);
        if (!appCalls.armTickTimer(hwnd, mainTimerId, tickIntervalMs, nullptr))
            return -1;   // no window without its tick
        AddTrayIcon(hwnd);   // a refusal is asked for again at the ticks
        ShowWindow(hwnd, SW_HIDE);
        return 0;

    case WM_TIMER:
        Tick(hwnd, true);
        return 0;

    case trayCallbackMessage:
        if (lParam == WM_RBUTTONDOWN)
            ShowTrayMenu(hwnd, withoutSeconds);
        return 0;

    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wParam));
        return 0;

    case WM_DPICHANGED:
        RenewTrayIconImage(LOWORD(wParam));
        return 0;

    case WM_DESTROY:
        // However it ends (the exit command, a close request from another
        // program or Restart Manager): Windows would keep an icon whose
        // window has gone until the mouse passes over it. First: ticks run
        // inside a refusal's box, and the title is given back after them.
        RemoveTrayIcon(hwnd);
        RestoreTrackedTitle();
        PostQuitMessage(0);
        return 0;
    }
    return appCalls.defaultWindowProc(hwnd, message, wParam, lParam);
}
