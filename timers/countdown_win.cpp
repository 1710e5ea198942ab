// The countdown: its dialog MYTIMER and its tick step.
#include "timers/timers.h"

#include <commctrl.h>

#include "common/program.h"
#include "res/resource.h"
#include "timers/countdown.h"

bool tickHeldByCountdownRing = false;

// Held while the dialog is open.
static HWND countdownDialog;
static HWND countdownPicker;
static HWND countdownNoteBox;
static TimerSettingsRecord* countdownSettings;

static uint32_t ReadMilliseconds()
{
    MMTIME stTime = {};
    stTime.wType = TIME_MS;
    systemCalls.readMillisecondClock(&stTime, sizeof stTime);
    return stTime.u.ms;
}

void RunCountdownDialog(HWND hwnd)
{
    if (countdownDialog) {
        SetForegroundWindow(countdownDialog);
        return;
    }
    MakeDatePickerAvailable();
    INT_PTR result = DialogBoxParamA(appInstance, "MYTIMER", hwnd, CountdownDialogProc,
                                     reinterpret_cast<LPARAM>(&TimerSettings));
    countdownDialog = nullptr;
    if (result == IDOK) {
        // Counted from now, after the dialog has closed.
        countdownStartMs = ReadMilliseconds();
        countdownActive = 1;
    } else {
        // CANCEL, the close box, or a dialog that could not open.
        countdownActive = 0;
    }
}

INT_PTR CALLBACK CountdownDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        countdownDialog = hDlg;
        countdownPicker = GetDlgItem(hDlg, IDC_TIMEPICKER);
        SendMessageA(countdownPicker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH:mm:ss"));
        // The note box offers the template's note, whatever was set before.
        countdownNoteBox = GetDlgItem(hDlg, IDC_NOTE);
        countdownSettings = reinterpret_cast<TimerSettingsRecord*>(lParam);

        // The last duration as the picker's time of day; the date is not shown.
        SetPickerTime(countdownPicker, countdownSettings->countdownDuration);
        return TRUE;
    }

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            // Wide: the note's letters stay right on any code page.
            wchar_t szBuf2[250] = L"";
            GetWindowTextW(countdownNoteBox, szBuf2, 250);
            countdownNote = reinterpret_cast<const char16_t*>(szBuf2);
            ReadPickerTime(countdownPicker, countdownSettings->countdownDuration);
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

void CheckCountdown(HWND hwnd)
{
    if (!countdownActive)
        return;
    if (!UpdateCountdown(TimerSettings.countdownDuration, countdownStartMs, ReadMilliseconds()))
        return;
    // Cleared first: this tick's title and the ticks inside the box go
    // without the countdown, and none of them rings it again.
    countdownActive = 0;
    RingBell(hwnd, reinterpret_cast<const wchar_t*>(countdownNote.c_str()), L"Alaram Tikavo_T");
    tickHeldByCountdownRing = true;
}
