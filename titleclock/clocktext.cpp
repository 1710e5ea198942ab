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

// A number as "%0<width>d" writes it, at q; returns its end.
char* WriteNumber(char* q, int n, int width)
{
    char digits[intChars];
    char* end = std::to_chars(digits, digits + intChars, n).ptr;
    for (auto length = end - digits; length < width; ++length)
        *q++ = '0';
    return std::copy(digits, end, q);
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
            PutWritten<intChars + 3>(p, end, [&](char* q) { return WriteNumber(q, *number++, *part == '2' ? 2 : 1); });
        else if (p < end)
            *p++ = *part;
    }
    TextEnd(p);
}
