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
static struct {
    HWND window, picker, checkBox;
    TimerSettingsRecord* settings;
} alarmDialog;

// The procedure of the dialog MYALARM.
static INT_PTR CALLBACK AlarmDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        alarmDialog.window = hDlg;
        alarmDialog.picker = GetDlgItem(hDlg, IDC_TIMEPICKER);
        alarmDialog.checkBox = GetDlgItem(hDlg, IDC_ALARMCHECK);
        SendMessageA(alarmDialog.picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("yy:MM:dd:HH:mm:ss"));
        alarmDialog.settings = reinterpret_cast<TimerSettingsRecord*>(lParam);

        if (std::strcmp(alarmDialog.settings->alarmFlag, "No") == 0) {
            // Off: the picker keeps the moment the dialog opened.
            EnableWindow(alarmDialog.picker, FALSE);
            SendMessageA(alarmDialog.checkBox, BM_SETCHECK, BST_UNCHECKED, 0);
        } else {
            EnableWindow(alarmDialog.picker, TRUE);
            SendMessageA(alarmDialog.checkBox, BM_SETCHECK, BST_CHECKED, 0);
            // Today's date with the alarm's time of day.
            SetPickerTime(alarmDialog.picker, alarmDialog.settings->alarmTime);
        }
        return TRUE;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (SendMessageA(alarmDialog.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                // Only the time of day counts; the picker's date is ignored.
                if (ReadPickerTime(alarmDialog.picker, alarmDialog.settings->alarmTime)) {
                    std::strcpy(alarmDialog.settings->alarmFlag, "Yes");
                    // A moment already past rings first tomorrow.
                    SYSTEMTIME stNow;
                    timerCalls.readLocalTime(&stNow);
                    RecordAlarmSwitchOn(alarmLastCheck, MomentOf(stNow));
                }
            } else {
                std::strcpy(alarmDialog.settings->alarmFlag, "No");
                std::strcpy(alarmDialog.settings->alarmTime, "00:00:00");
            }
            EndDialog(hDlg, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(hDlg, IDCANCEL);
            return TRUE;
        case IDC_ALARMCHECK:
            EnableWindow(alarmDialog.picker, SendMessageA(alarmDialog.checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void RunAlarmDialog(HWND hwnd)
{
    if (alarmDialog.window) {
        SetForegroundWindow(alarmDialog.window);
        return;
    }
    // The dialog changes TimerSettings itself; a dialog that cannot open
    // changes nothing.
    MakeDatePickerAvailable();
    DialogBoxParamW(appInstance, L"MYALARM", hwnd, AlarmDialogProc, reinterpret_cast<LPARAM>(&TimerSettings));
    alarmDialog.window = nullptr;
}

void CheckAlarm(HWND hwnd, const SYSTEMTIME& now)
{
    if (RecordAlarmCheck(alarmLastCheck, MomentOf(now), TimerSettings))
        RingBell(hwnd, L"Alarm", L"Alarm");
}
