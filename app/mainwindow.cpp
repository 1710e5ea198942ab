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

// The message the shell broadcasts when the taskbar is (re)created.
static UINT taskbarCreatedMessage;
static TickSchedule tickSchedule;

// "Hodiny v titulku okna" -- the clock in the window's title bar.
static const char aboutNotice[] = "Hodiny v titulku okna \x96 den, datum, \xE8" "as a jm\xE9no, kter\xE9 m\xE1 sv\xE1tek.";

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
    return CreateWindowExA(0, appNameVersion, appTitle, WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The tick's steps. A message of the main timer (timed) also arms the timer
// for just after the start of the next second, and is no tick while the
// second of the last tick is still running.
static void Tick(HWND hwnd, bool timed)
{
    TrackForegroundWindow();

    SYSTEMTIME now;
    systemCalls.readLocalTime(&now);

    if (timed) {
        // Armed before anything of this tick can open a box: the ticks
        // inside the box keep the step, and this tick, should it be held
        // there, does not arm the timer from its old reading when it resumes.
        // The same window and identifier, so never a second timer.
        TickPlan plan = PlanTick(tickSchedule, MomentOf(now), now.wMilliseconds);
        if (plan.armMs)
            systemCalls.armTickTimer(hwnd, mainTimerId, plan.armMs, nullptr);
        if (!plan.tickNow)
            return;
    }

    char szDay[dayNameSize];
    ChooseDayName(now.wDayOfWeek, szDay);
    // A tick held in the countdown's ring box resumes with the time it read
    // before the box; the ticks inside the box have checked the alarm since.
    bool tickHeldByCountdownRing = CheckCountdown(hwnd);
    if (!tickHeldByCountdownRing)
        CheckAlarm(hwnd, now);
    FormatClockText(now, szDay);
    if (!UpdateTodayName(now.wDay, now.wMonth))
        return;
    ShowTodayInTip(szDay, now, todayName.c_str());
    ComposeAndWriteTitle({ clockText, todayName.c_str(), countdownActive ? countdownRemaining.c_str() : nullptr,
                           countdownNote.c_str(), placeBefore != 0 });
}

void RunTick(HWND hwnd)
{
    Tick(hwnd, false);
}

static void OnCommand(HWND hwnd, WORD command)
{
    switch (command) {
    case IDM_ABOUT:
        ShellAboutA(hwnd, appNameVersion, aboutNotice, LoadIconA(appInstance, "small"));
        break;
    case IDM_EXIT:
        RemoveTrayIcon(hwnd);
        DestroyWindow(hwnd);
        PostQuitMessage(0);
        break;
    case IDM_PLACE_BEFORE: placeBefore = 1; break;
    case IDM_PLACE_AFTER:  placeBefore = 0; break;
    case IDM_COUNTDOWN:    RunCountdownDialog(hwnd); break;
    case IDM_ALARM:        RunAlarmDialog(hwnd); break;
    // Never while a ring's box is open (a menu shown before the ring may
    // offer it): the editor would hold the box and the looping bell.
    case IDM_EDIT_NAMES:   if (!BellRinging()) EditNameList(); break;
    default:               break;   // unknown commands are ignored
    }
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Registered messages are not constants, so they are tested first.
    if (taskbarCreatedMessage != 0 && message == taskbarCreatedMessage) {
        ReAddTrayIcon(hwnd);
        return 0;
    }

    switch (message) {
    case WM_CREATE:
        taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
        InitTimerSettings(TimerSettings);
        AddTrayIcon(hwnd);
        ShowWindow(hwnd, SW_HIDE);
        systemCalls.armTickTimer(hwnd, mainTimerId, tickIntervalMs, nullptr);
        return 0;

    case WM_TIMER:
        Tick(hwnd, true);
        return 0;

    case trayCallbackMessage:
        if (lParam == WM_RBUTTONDOWN)
            ShowTrayMenu(hwnd, BellRinging());
        return 0;

    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wParam));
        return 0;

    case WM_DPICHANGED:
        RenewTrayIconImage(LOWORD(wParam));
        return 0;

    case WM_DESTROY:
        RestoreTrackedTitle();
        PostQuitMessage(0);
        return 0;
    }
    return systemCalls.defaultWindowProc(hwnd, message, wParam, lParam);
}
