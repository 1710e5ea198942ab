#include "titleclock/clocktext.h"

#include <cstring>

#include "common/textput.h"

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
    char* p = szDay;
    PutText(p, TextLimit(szDay, dayNameSize), DayName(dayOfWeek));
    TextEnd(p);
}

void FormatTimeString(char* out, size_t size, int hour, int minute, int second)
{
    if (size == 0)
        return;
    char* p = out;
    const char* end = TextLimit(out, size);
    PutNumber(p, end, hour, 2, '0');
    PutChar(p, end, ':');
    PutNumber(p, end, minute, 2, '0');
    PutChar(p, end, ':');
    PutNumber(p, end, second, 2, '0');
    TextEnd(p);
}

void FormatClock(char* out, size_t size, const char* szDay,
                 int day, int month, int year, int hour, int minute, int second)
{
    // "  * %s - %d.%d.%d - %02d:%02d:%02d * "
    if (size == 0)
        return;
    char* p = out;
    const char* end = TextLimit(out, size);
    PutText(p, end, "  * ");
    PutText(p, end, szDay);
    PutText(p, end, " - ");
    PutNumber(p, end, day);
    PutChar(p, end, '.');
    PutNumber(p, end, month);
    PutChar(p, end, '.');
    PutNumber(p, end, year);
    PutText(p, end, " - ");
    PutNumber(p, end, hour, 2, '0');
    PutChar(p, end, ':');
    PutNumber(p, end, minute, 2, '0');
    PutChar(p, end, ':');
    PutNumber(p, end, second, 2, '0');
    PutText(p, end, " * ");
    TextEnd(p);
}
