// The clock's texts: the Czech day name and the clock text that goes into
// the title bar. All of them are Windows-1250 bytes.
#ifndef TIKAVO_CLOCKTEXT_H
#define TIKAVO_CLOCKTEXT_H

#include <cstddef>

// Room for a day name with its terminator.
constexpr size_t dayNameSize = 10;

// The Czech name of a day of the week (0 is Sunday); empty for any other
// number.
const char* DayName(int dayOfWeek);
// Copies the day's name into szDay (dayNameSize characters).
void ChooseDayName(int dayOfWeek, char* szDay);
// "  * <day> - d.m.yyyy - HH:MM:SS * ": day and month without leading zeros,
// the year in full, the time zero-padded; two spaces in front, one behind.
void FormatClock(char* out, size_t size, const char* szDay,
                 int day, int month, int year, int hour, int minute, int second);

#endif
