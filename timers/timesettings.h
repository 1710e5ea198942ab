// The settings shared by the countdown and the alarm, and the time strings
// they are held in: "HH:MM:SS", 24-hour, compared as whole strings.
#ifndef TIKAVO_TIMESETTINGS_H
#define TIKAVO_TIMESETTINGS_H

#include <cstdint>

struct TimerSettingsRecord {
    char alarmFlag[10];          // "Yes": the daily alarm is on; "No": off
    char alarmTime[16];          // the alarm's time of day; "00:00:00" while off
    char countdownDuration[16];  // the countdown's duration
};

// Sets the start values: alarm off at "00:00:00", a countdown of one minute.
void InitTimerSettings(TimerSettingsRecord& settings);

// Splits a time string at its colons into hours, minutes and seconds
// (decimal, so "07:05:09" is 7, 5 and 9). Always returns true.
bool SplitTime(const char* text, int& hours, int& minutes, int& seconds);

// Writes a count of seconds as a time string into buffer (at least 9
// characters). 24 hours or more gives "00:00:00". Always returns true.
bool FormatSeconds(char* buffer, uint32_t seconds);

#endif
