// The clock's texts: the Czech day name and the clock text that goes into
// the title bar. All of them are Windows-1250 bytes.
#ifndef TIKAVO_CLOCKTEXT_H
#define TIKAVO_CLOCKTEXT_H

#include <cstddef>

// Room for a day name with its terminator.
constexpr size_t dayNameSize = 10;

// The decoration's form, said once: the clock writes it, the title ledger and
// the tests read it. The clock text, without and with the seconds, as a
// pattern: 'D' the day's name (one word), '1' a number of one or two digits,
// '2' of two, '4' of four; the rest stands as it is.
constexpr const char* clockForms[2] = { "  * D - 1.1.4 - 2:2 * ", "  * D - 1.1.4 - 2:2:2 * " };
// What follows the clock text in the decorated title, [countdown][in front]:
// 'n' the day's name, 'r' the countdown (remainingForm: " Za " and the time
// remaining), 't' its note, 'o' the own title, which stands in front of the
// clock text where it is not here.
constexpr const char* decorationForms[2][2] = { { "n *", "n * o" }, { "n *r  t", "n *r t * o " } };
constexpr char remainingForm[] = " Za 2:2:2";

// The Czech name of a day of the week (0 is Sunday); empty for any other
// number.
const char* DayName(int dayOfWeek);
// Copies the day's name into szDay (dayNameSize characters).
void ChooseDayName(int dayOfWeek, char* szDay);
// The clock text, "  * <day> - d.m.yyyy - HH:MM:SS * ", without ":SS" where
// seconds is false: day and month without leading zeros, the year in full,
// the time zero-padded.
void FormatClock(char* out, size_t size, const char* szDay,
                 int day, int month, int year, int hour, int minute, int second, bool seconds = true);

#endif
