// The date-time picker of both dialogs, holding a time string.
#include "timers/timers.h"

#include <commctrl.h>

void SetPickerTime(HWND picker, const char* timeString)
{
    // Today's date with the time string's hours, minutes and seconds.
    SYSTEMTIME stTime;
    GetLocalTime(&stTime);
    int hours, minutes, seconds;
    SplitTime(timeString, hours, minutes, seconds);
    stTime.wHour = static_cast<WORD>(hours);
    stTime.wMinute = static_cast<WORD>(minutes);
    stTime.wSecond = static_cast<WORD>(seconds);
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&stTime));
}

bool ReadPickerTime(HWND picker, char* timeString)
{
    SYSTEMTIME stTime;
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&stTime)) != GDT_VALID)
        return false;
    wsprintfA(timeString, "%02d:%02d:%02d", stTime.wHour, stTime.wMinute, stTime.wSecond);
    return true;
}
