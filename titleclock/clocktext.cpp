#include "titleclock/clocktext.h"

#include <algorithm>
#include <charconv>

#include "common/localtime.h"

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

// A number as "%d" writes it, or "%02d" where two, at q (room for intChars);
// returns its end.
char* WriteNumber(char* q, int n, bool two)
{
    if (!two || n < 0 || n > 99)
        return std::to_chars(q, q + intChars, n).ptr;
    q[0] = static_cast<char>('0' + n / 10), q[1] = static_cast<char>('0' + n % 10);
    return q + 2;
}
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

void FormatClock(char* out, size_t size, const char* szDay,
                 int day, int month, int year, int hour, int minute, int second, bool seconds)
{
    if (size == 0)
        return;
    const int numbers[] = { day, month, year, hour, minute, second };
    const int* number = numbers;
    char* p = out;
    const char* end = TextLimit(out, size);
    for (const char* part = clockForms[seconds]; *part; ++part) {
        if (*part == 'D')
            PutText(p, end, szDay);
        else if (*part >= '1' && *part <= '4')
            PutWritten<intChars>(p, end, [&](char* q) { return WriteNumber(q, *number++, *part == '2'); });
        else if (p < end)
            *p++ = *part;
    }
    TextEnd(p);
}
