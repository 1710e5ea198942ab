// The daily alarm's rule: when a check of the alarm rings.
//
// The alarm remembers the local date and time of its last check. A check
// rings when the latest alarm moment at or before the check's own time lies
// after the last check; the last check then becomes the check's time. So a
// tick that comes late (a busy system, no ticks while the name list is being
// edited) rings late and only once, two ticks in one second ring once, and a
// moment that passed before the program started or before the alarm was
// switched on does not ring. The last check never moves backwards, so a tick
// that resumes with an older time, or a clock set back by less than a day,
// does not ring the same moment again; a clock set back by more than a day
// starts the memory afresh, so the alarm does not fall silent for that long.
#ifndef TIKAVO_ALARM_H
#define TIKAVO_ALARM_H

#include <cstdint>

#include "common/localtime.h"
#include "timers/timesettings.h"

// The last alarm check, alarmLastCheck, is in seconds on a continuous local
// count (MomentSeconds); alarmNoCheckYet until the first check.
constexpr int64_t alarmNoCheckYet = INT64_MIN;

// A check of the alarm at now with the settings; true when it rings.
// Records the check, also while the alarm is off.
bool RecordAlarmCheck(int64_t& alarmLastCheck, const LocalMoment& now, const TimerSettingsRecord& settings);

// The alarm was switched on or set anew at now: no moment up to now rings.
void RecordAlarmSwitchOn(int64_t& alarmLastCheck, const LocalMoment& now);

#endif
