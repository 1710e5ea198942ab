// The daily alarm: its dialog MYALARM and its tick step.
#include "timers/timers.h"

#include <commctrl.h>

#include <cstring>

#include "common/program.h"
#include "res/resource.h"
#include "timers/alarm.h"

// The last check of the run (see RecordAlarmCheck).
static int64_t alarmLastCheck = alarmNoCheckYet;

// Held while the dialog is open.
static HWND alarmDialog;
static HWND alarmPicker;
static HWND alarmCheckBox;
static TimerSettingsRecord* alarmSettings;

void RunAlarmDialog(HWND hwnd)
{
    if (alarmDialog) {
        SetForegroundWindow(alarmDialog);
        return;
    }
    // The dialog changes TimerSettings itself; a dialog that cannot open
    // changes nothing.
    MakeDatePickerAvailable();
    DialogBoxParamA(appInstance, "MYALARM", hwnd, AlarmDialogProc,
                    reinterpret_cast<LPARAM>(&TimerSettings));
    alarmDialog = nullptr;
}

INT_PTR CALLBACK AlarmDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        alarmDialog = hDlg;
        alarmPicker = GetDlgItem(hDlg, IDC_TIMEPICKER);
        alarmCheckBox = GetDlgItem(hDlg, IDC_ALARMCHECK);
        SendMessageA(alarmPicker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("yy:MM:dd:HH:mm:ss"));
        alarmSettings = reinterpret_cast<TimerSettingsRecord*>(lParam);

        if (std::strcmp(alarmSettings->alarmFlag, "No") == 0) {
            // Off: the picker keeps the moment the dialog opened.
            EnableWindow(alarmPicker, FALSE);
            SendMessageA(alarmCheckBox, BM_SETCHECK, BST_UNCHECKED, 0);
        } else {
            EnableWindow(alarmPicker, TRUE);
            SendMessageA(alarmCheckBox, BM_SETCHECK, BST_CHECKED, 0);
            // Today's date with the alarm's time of day.
            SetPickerTime(alarmPicker, alarmSettings->alarmTime);
        }
        return TRUE;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (SendMessageA(alarmCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                // Only the time of day counts; the picker's date is ignored.
                if (ReadPickerTime(alarmPicker, alarmSettings->alarmTime)) {
                    std::strcpy(alarmSettings->alarmFlag, "Yes");
                    // A moment already past rings first tomorrow.
                    SYSTEMTIME stNow;
                    systemCalls.readLocalTime(&stNow);
                    RecordAlarmSwitchOn(alarmLastCheck, MomentOf(stNow));
                }
            } else {
                std::strcpy(alarmSettings->alarmFlag, "No");
                std::strcpy(alarmSettings->alarmTime, "00:00:00");
            }
            EndDialog(hDlg, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        case IDC_ALARMCHECK:
            EnableWindow(alarmPicker, SendMessageA(alarmCheckBox, BM_GETCHECK, 0, 0) == BST_CHECKED);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void CheckAlarm(HWND hwnd, const SYSTEMTIME& now)
{
    // A tick held in the countdown's ring box resumes with the time it read
    // before the box; the ticks inside the box have checked the alarm since.
    if (tickHeldByCountdownRing) {
        tickHeldByCountdownRing = false;
        return;
    }
    if (!RecordAlarmCheck(alarmLastCheck, MomentOf(now), TimerSettings))
        return;
    RingBell(hwnd, L"Alarm", L"Alarm");
}
