// The date-time picker of both dialogs, holding a time string.
#include "timers/timers.h"

#include <commctrl.h>

#include "common/localtime.h"
#include "timers/timesettings.h"

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
    // Zeroed, its answer and its fields checked: a picker that cannot be
    // read leaves the setting as it was, and whatever a picker answers,
    // nothing but a time of day of eight characters is written.
    SYSTEMTIME stTime = {};
    if (SendMessageA(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&stTime)) != GDT_VALID
        || stTime.wHour > 23 || stTime.wMinute > 59 || stTime.wSecond > 59)
        return false;
    FormatTimeString(timeString, 9, stTime.wHour, stTime.wMinute, stTime.wSecond);
    return true;
}
