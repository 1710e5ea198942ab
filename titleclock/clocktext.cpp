#include "titleclock/clocktext.h"

#include <cstdio>
#include <cstring>

char currentTime[64];
char clockText[1000];

namespace {
const char* const dayNames[7] = {
    "Ned\xEC" "le",        // Neděle
    "Pond\xEC" "l\xED",    // Pondělí
    "\xDAter\xFD",         // Úterý
    "St\xF8" "eda",        // Středa
    "\xC8tvrtek",          // Čtvrtek
    "P\xE1tek",            // Pátek
    "Sobota",
};
}  // namespace

const char* DayName(int dayOfWeek)
{
    if (dayOfWeek < 0 || dayOfWeek > 6)
        return "";
    return dayNames[dayOfWeek];
}

void ChooseDayName(int dayOfWeek, char* szDay)
{
    std::snprintf(szDay, dayNameSize, "%s", DayName(dayOfWeek));
}

void FormatTimeString(char* out, size_t size, int hour, int minute, int second)
{
    std::snprintf(out, size, "%02d:%02d:%02d", hour, minute, second);
}

void FormatClock(char* out, size_t size, const char* szDay,
                 int day, int month, int year, int hour, int minute, int second)
{
    std::snprintf(out, size, "  * %s - %d.%d.%d - %02d:%02d:%02d * ",
                  szDay, day, month, year, hour, minute, second);
}
