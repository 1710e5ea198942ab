#include "timers/timesettings.h"

#include <charconv>
#include <cctype>
#include <climits>
#include <cstring>

#include "common/localtime.h"

void InitTimerSettings(TimerSettingsRecord& settings)
{
    std::strcpy(settings.alarmFlag, "No");
    std::strcpy(settings.alarmTime, "00:00:00");
    std::strcpy(settings.countdownDuration, "00:01:00");
}

bool SplitTime(const char* text, int& hours, int& minutes, int& seconds)
{
    char szTemp[64];
    char* textEnd = szTemp;
    PutText(textEnd, TextLimit(szTemp, sizeof szTemp), text);
    TextEnd(textEnd);

    // Runs of colons count as one separator; leading colons are skipped.
    const char szSep = ':';
    int* parts[3] = { &hours, &minutes, &seconds };
    const char* rest = szTemp;
    for (int* part : parts) {
        while (*rest == szSep)
            ++rest;
        // Each piece is read as atoi reads it: leading blanks, a sign, then
        // digits up to the first character that is not one (the colon that
        // ends the piece); no digits give 0, values beyond int's range are
        // held at its ends.
        while (std::isspace(static_cast<unsigned char>(*rest)))
            ++rest;
        bool negative = *rest == '-';
        if (*rest == '-' || *rest == '+')
            ++rest;
        unsigned magnitude = 0;
        if (std::from_chars(rest, textEnd, magnitude).ec == std::errc::result_out_of_range)
            magnitude = UINT_MAX;
        const unsigned limit = negative ? static_cast<unsigned>(INT_MAX) + 1u : INT_MAX;
        if (magnitude > limit)
            magnitude = limit;
        *part = static_cast<int>(negative ? -static_cast<long long>(magnitude) : magnitude);
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
    FormatTimeString(buffer, 9, static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(rest));
    return true;
}
