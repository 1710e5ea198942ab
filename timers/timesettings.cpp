#include "timers/timesettings.h"

#include <cstring>

#include "common/textput.h"

TimerSettingsRecord TimerSettings;

void InitTimerSettings()
{
    std::strcpy(TimerSettings.alarmFlag, "No");
    std::strcpy(TimerSettings.alarmTime, "00:00:00");
    std::strcpy(TimerSettings.countdownDuration, "00:01:00");
}

bool SplitTime(const char* text, int& hours, int& minutes, int& seconds)
{
    char szTemp[64];
    char* p = szTemp;
    PutText(p, TextLimit(szTemp, sizeof szTemp), text);
    TextEnd(p);

    // Runs of colons count as one separator; leading colons are skipped.
    const char szSep = ':';
    int* parts[3] = { &hours, &minutes, &seconds };
    const char* rest = szTemp;
    for (int* part : parts) {
        while (*rest == szSep)
            ++rest;
        // The conversion stops at the colon that ends the piece.
        *part = ReadNumber(rest);
        while (*rest && *rest != szSep)
            ++rest;
    }
    return true;
}

bool FormatSeconds(char* buffer, uint32_t seconds)
{
    uint32_t hours = seconds / 3600;
    uint32_t minutes = (seconds - hours * 3600) / 60;
    uint32_t rest = seconds - hours * 3600 - minutes * 60;
    if (hours > 23)
        hours = minutes = rest = 0;
    char* p = buffer;
    const char* end = TextLimit(buffer, 9);
    PutNumber(p, end, static_cast<long>(hours), 2, '0');
    PutChar(p, end, ':');
    PutNumber(p, end, static_cast<long>(minutes), 2, '0');
    PutChar(p, end, ':');
    PutNumber(p, end, static_cast<long>(rest), 2, '0');
    TextEnd(p);
    return true;
}
