#include "timers/timesettings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    std::snprintf(szTemp, sizeof szTemp, "%s", text);

    // Runs of colons count as one separator; leading colons are skipped.
    static const char szSep[] = ":";
    int* parts[3] = { &hours, &minutes, &seconds };
    char* rest = szTemp;
    for (int* part : parts) {
        rest += std::strspn(rest, szSep);
        size_t length = std::strcspn(rest, szSep);
        char piece[64];
        std::memcpy(piece, rest, length);
        piece[length] = '\0';
        *part = std::atoi(piece);
        rest += length;
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
    std::snprintf(buffer, 9, "%02u:%02u:%02u", static_cast<unsigned>(hours),
                  static_cast<unsigned>(minutes), static_cast<unsigned>(rest));
    return true;
}
