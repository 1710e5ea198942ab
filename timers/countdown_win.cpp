// The countdown: its dialog MYTIMER and its tick step.
#include "timers/timers.h"

#include <commctrl.h>

#include "common/program.h"
#include "res/resource.h"
#include "timers/countdown.h"

TimerCalls timerCalls;
TimerSettingsRecord TimerSettings;
int countdownActive = 0;
std::string countdownRemaining = "00:00:00";
std::u16string countdownNote;

// The millisecond clock at the start of the countdown.
static uint32_t countdownStartMs;

// Held while the dialog is open.
static struct {
    HWND window, picker, noteBox;
    TimerSettingsRecord* settings;
} countdownDialog;

static uint32_t ReadMilliseconds()
{
    MMTIME stTime = {};
    stTime.wType = TIME_MS;
    timerCalls.readMillisecondClock(&stTime, sizeof stTime);
    return stTime.u.ms;
}

void StartCountdown()
{
    countdownStartMs = ReadMilliseconds();
    countdownActive = 1;
}

// The procedure of the dialog MYTIMER.
static INT_PTR CALLBACK CountdownDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        countdownDialog.window = hDlg;
        countdownDialog.picker = GetDlgItem(hDlg, IDC_TIMEPICKER);
        SendMessageA(countdownDialog.picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH:mm:ss"));
        // The note box offers the template's note, whatever was set before.
        countdownDialog.noteBox = GetDlgItem(hDlg, IDC_NOTE);
        countdownDialog.settings = reinterpret_cast<TimerSettingsRecord*>(lParam);

        // The last duration as the picker's time of day; the date is not shown.
        SetPickerTime(countdownDialog.picker, countdownDialog.settings->countdownDuration);
        return TRUE;
    }

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            // Wide, from a Unicode dialog: the note keeps every letter typed
            // on any code page (an ANSI dialog's edit control would keep only
            // the letters of the system's code page).
            wchar_t szBuf2[250] = L"";
            GetWindowTextW(countdownDialog.noteBox, szBuf2, 250);
            countdownNote = reinterpret_cast<const char16_t*>(szBuf2);
            ReadPickerTime(countdownDialog.picker, countdownDialog.settings->countdownDuration);
            EndDialog(hDlg, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void RunCountdownDialog(HWND hwnd)
{
    if (countdownDialog.window) {
        SetForegroundWindow(countdownDialog.window);
        return;
    }
    MakeDatePickerAvailable();
    INT_PTR result = DialogBoxParamW(appInstance, L"MYTIMER", hwnd, CountdownDialogProc,
                                     reinterpret_cast<LPARAM>(&TimerSettings));
    countdownDialog.window = nullptr;
    if (result == IDOK)
        StartCountdown();   // counted from now, after the dialog has closed
    else
        countdownActive = 0;   // CANCEL, the close box, or a dialog that could not open
}

bool CheckCountdown(HWND hwnd)
{
    if (!countdownActive)
        return false;
    if (!UpdateCountdown(TimerSettings.countdownDuration, countdownStartMs, ReadMilliseconds(), countdownRemaining))
        return false;
    // Cleared first: this tick's title and the ticks inside the box go
    // without the countdown, and none of them rings it again.
    countdownActive = 0;
    RingBell(hwnd, reinterpret_cast<const wchar_t*>(countdownNote.c_str()), L"Alaram Tikavo_T");
    return true;
}
