// A local date and time as the tick's rules count it, and its time string
// "HH:MM:SS", shared by the clock, the tick's schedule and the timers.
#ifndef TIKAVO_LOCALTIME_H
#define TIKAVO_LOCALTIME_H

#include <cstddef>
#include <cstdint>

#include "common/textput.h"

// A local date and time, to the second.
struct LocalMoment {
    int year, month, day;
    int hour, minute, second;
};

// Seconds of a local date and time on a continuous count (days since
// 1 January 1970 times 86400 plus the time of day).
int64_t MomentSeconds(const LocalMoment& moment);

// The longest "%02d:%02d:%02d".
constexpr std::size_t timeChars = 3 * intChars + 2;
// "%02d:%02d:%02d" at q, with room for timeChars; returns its end.
char* WriteTime(char* q, int hour, int minute, int second);
// "HH:MM:SS", each field two digits, 24-hour.
void FormatTimeString(char* out, std::size_t size, int hour, int minute, int second);

#endif
