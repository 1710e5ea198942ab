#include "timers/alarm.h"

#include <cstring>

constexpr int64_t secondsPerDay = 86400;

bool RecordAlarmCheck(int64_t& alarmLastCheck, const LocalMoment& now, const TimerSettingsRecord& settings)
{
    int64_t checkTime = MomentSeconds(now);

    // The first check after start: nothing before it is the alarm's business.
    if (alarmLastCheck == alarmNoCheckYet) {
        alarmLastCheck = checkTime;
        return false;
    }
    // An older time than the last check: a tick resumed after a box, or the
    // clock set back. Whatever lies up to the last check has had its turn.
    if (checkTime < alarmLastCheck) {
        if (alarmLastCheck - checkTime > secondsPerDay)
            alarmLastCheck = checkTime;   // the date was put right: start afresh
        return false;
    }

    int64_t lastCheck = alarmLastCheck;
    alarmLastCheck = checkTime;   // before any ring: ticks inside the box see it
    if (std::strcmp(settings.alarmFlag, "Yes") != 0)
        return false;

    // The latest alarm moment at or before the check: today's, or yesterday's
    // while today's is still ahead. Only the time of day counts.
    int hours, minutes, seconds;
    SplitTime(settings.alarmTime, hours, minutes, seconds);
    LocalMoment today = now;
    today.hour = hours;
    today.minute = minutes;
    today.second = seconds;
    int64_t moment = MomentSeconds(today);
    if (moment > checkTime)
        moment -= secondsPerDay;
    return moment > lastCheck;
}

void RecordAlarmSwitchOn(int64_t& alarmLastCheck, const LocalMoment& now)
{
    int64_t switchedOn = MomentSeconds(now);
    if (alarmLastCheck == alarmNoCheckYet || switchedOn > alarmLastCheck)
        alarmLastCheck = switchedOn;
}
