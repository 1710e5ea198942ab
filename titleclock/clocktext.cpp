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

// The longest " - %d.%d.%d - %02d:%02d:%02d * ".
constexpr size_t clockTailChars = 3 * intChars + 2 + timeChars + 9;

// " - %d.%d.%d - %02d:%02d:%02d * " at q; returns its end.
char* WriteClockTail(char* q, int day, int month, int year, int hour, int minute, int second)
{
    char* const last = q + clockTailChars;
    q = std::copy_n(" - ", 3, q);
    q = std::to_chars(q, last, day).ptr;
    *q++ = '.';
    q = std::to_chars(q, last, month).ptr;
    *q++ = '.';
    q = std::to_chars(q, last, year).ptr;
    q = std::copy_n(" - ", 3, q);
    q = WriteTime(q, hour, minute, second);
    return std::copy_n(" * ", 3, q);
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
                 int day, int month, int year, int hour, int minute, int second)
{
    // "  * %s - %d.%d.%d - %02d:%02d:%02d * "
    if (size == 0)
        return;
    char* p = out;
    const char* end = TextLimit(out, size);
    PutText(p, end, "  * ");
    PutText(p, end, szDay);
    PutWritten<clockTailChars>(p, end, [=](char* q) {
        return WriteClockTail(q, day, month, year, hour, minute, second);
    });
    TextEnd(p);
}
