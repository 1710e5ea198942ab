// The daily alarm's rule: a check rings when the latest alarm moment at or
// before it lies after the last check. Late, skipped, resumed and repeated
// ticks, midnight, a clock set back and an alarm switched on too late.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "timers/alarm.h"

namespace {

LocalMoment At(int day, int hour, int minute, int second, int month = 5, int year = 2026)
{
    return { year, month, day, hour, minute, second };
}

class AlarmRule : public ::testing::Test {
protected:
    // The alarm switched on at a moment for the given time of day.
    void SwitchOn(const LocalMoment& when, const char* time)
    {
        std::strcpy(settings.alarmFlag, "Yes");
        std::strcpy(settings.alarmTime, time);
        RecordAlarmSwitchOn(lastCheck, when);
    }
    bool Check(const LocalMoment& now) { return RecordAlarmCheck(lastCheck, now, settings); }
    // The checks among the given ones that ring, by index.
    std::vector<int> Rings(const std::vector<LocalMoment>& checks)
    {
        std::vector<int> rang;
        for (size_t i = 0; i < checks.size(); ++i)
            if (Check(checks[i]))
                rang.push_back(static_cast<int>(i));
        return rang;
    }
    TimerSettingsRecord settings{ "No", "00:00:00" };   // the alarm off
    int64_t lastCheck = alarmNoCheckYet;                  // a fresh run's
};

using Rang = std::vector<int>;

TEST_F(AlarmRule, RingsInItsExactSecondOnceAndAgainEachDay)
{
    Check(At(10, 6, 0, 0));
    SwitchOn(At(10, 6, 0, 1), "07:00:00");
    EXPECT_EQ(Rings({ At(10, 6, 59, 58), At(10, 6, 59, 59), At(10, 7, 0, 0), At(10, 7, 0, 1),
                      At(10, 12, 0, 0), At(11, 6, 59, 59), At(11, 7, 0, 0), At(11, 7, 0, 1) }),
              (Rang{ 2, 6 }));
}

TEST_F(AlarmRule, ASkippedSecondRingsAtTheNextTickAndALateTickRingsOnce)
{
    Check(At(10, 6, 0, 0));
    SwitchOn(At(10, 6, 0, 0), "07:00:00");
    // The tick of 07:00:00 never came: the one a second later rings.
    EXPECT_EQ(Rings({ At(10, 6, 59, 59), At(10, 7, 0, 1), At(10, 7, 0, 2) }), (Rang{ 1 }));
    // Next day the system is busy for minutes: the late tick rings, once.
    EXPECT_EQ(Rings({ At(11, 6, 58, 0), At(11, 7, 12, 30), At(11, 7, 12, 31), At(11, 7, 13, 0) }),
              (Rang{ 1 }));
    // No tick for three days (the name list was open in the editor): the
    // first tick afterwards rings once, not once for every day missed.
    EXPECT_EQ(Rings({ At(14, 9, 0, 0), At(14, 9, 0, 1), At(15, 6, 59, 59), At(15, 7, 0, 0) }),
              (Rang{ 0, 3 }));
}

TEST_F(AlarmRule, TwoTicksInOneSecondRingOnce)
{
    Check(At(10, 6, 0, 0));
    SwitchOn(At(10, 6, 0, 0), "07:00:00");
    EXPECT_EQ(Rings({ At(10, 7, 0, 0), At(10, 7, 0, 0), At(10, 7, 0, 1) }), (Rang{ 0 }));
}

TEST_F(AlarmRule, RingsAcrossMidnightAndTheTurnOfTheYear)
{
    Check(At(10, 22, 0, 0));
    SwitchOn(At(10, 22, 0, 0), "00:00:00");
    // Midnight's second skipped.
    EXPECT_EQ(Rings({ At(10, 23, 59, 59), At(11, 0, 0, 1), At(11, 0, 0, 2) }), (Rang{ 1 }));

    // An alarm in the last second of the day, its tick skipped into the next
    // day: yesterday's moment still rings, today's waits for tonight.
    SwitchOn(At(11, 12, 0, 0), "23:59:59");
    EXPECT_EQ(Rings({ At(11, 23, 59, 58), At(12, 0, 0, 0), At(12, 0, 0, 1), At(12, 23, 59, 59) }),
              (Rang{ 1, 3 }));

    SwitchOn(At(31, 12, 0, 0, 12), "00:00:00");
    EXPECT_EQ(Rings({ At(31, 23, 59, 58, 12), At(1, 0, 0, 2, 1, 2027), At(1, 0, 0, 3, 1, 2027) }),
              (Rang{ 1 }));
    // 28 February to 1 March in a leap year and in a common one.
    SwitchOn(At(28, 12, 0, 0, 2, 2028), "00:00:00");
    EXPECT_EQ(Rings({ At(28, 23, 59, 59, 2, 2028), At(29, 0, 0, 1, 2, 2028), At(29, 23, 59, 59, 2, 2028),
                      At(1, 0, 0, 1, 3, 2028) }),
              (Rang{ 1, 3 }));
}

TEST_F(AlarmRule, ATickResumingWithAnOlderTimeNeverRingsAgain)
{
    Check(At(10, 6, 0, 0));
    SwitchOn(At(10, 6, 0, 0), "07:00:00");
    // The tick of 07:00:00 rang the countdown and is held in its box; the
    // ticks inside the box go on and ring the alarm in the box.
    EXPECT_FALSE(Check(At(10, 6, 59, 59)));
    EXPECT_TRUE(Check(At(10, 7, 0, 1)));
    EXPECT_FALSE(Check(At(10, 7, 0, 2)));
    // The box closes; the held tick resumes with its own time, which is the
    // alarm's very second.
    EXPECT_FALSE(Check(At(10, 7, 0, 0)));
    EXPECT_FALSE(Check(At(10, 7, 0, 3)));

    // The alarm's own box held its tick: the resumed time is even older.
    EXPECT_TRUE(Check(At(11, 7, 0, 0)));
    EXPECT_FALSE(Check(At(11, 7, 0, 1)));
    EXPECT_FALSE(Check(At(11, 6, 59, 59)));
    EXPECT_FALSE(Check(At(11, 7, 0, 2)));
}

TEST_F(AlarmRule, AClockSetBackDoesNotRingTheSameMomentTwice)
{
    Check(At(10, 6, 0, 0));
    SwitchOn(At(10, 6, 0, 0), "07:00:00");
    EXPECT_EQ(Rings({ At(10, 7, 0, 0), At(10, 7, 30, 0) }), (Rang{ 0 }));
    // Set back half an hour: the alarm's second comes round again today.
    EXPECT_EQ(Rings({ At(10, 6, 45, 0), At(10, 7, 0, 0), At(10, 7, 0, 1), At(10, 7, 30, 1) }), Rang{});
    // It rings again the next day.
    EXPECT_EQ(Rings({ At(11, 6, 59, 59), At(11, 7, 0, 0) }), (Rang{ 1 }));
}

TEST_F(AlarmRule, AClockPutRightByMoreThanADayDoesNotSilenceTheAlarm)
{
    // The date was set a week ahead by mistake and is put right.
    Check(At(17, 9, 0, 0));
    SwitchOn(At(17, 9, 0, 0), "07:00:00");
    EXPECT_EQ(Rings({ At(10, 6, 0, 0), At(10, 6, 59, 59), At(10, 7, 0, 0), At(10, 7, 0, 1) }),
              (Rang{ 2 }));
    EXPECT_EQ(Rings({ At(11, 7, 0, 0) }), (Rang{ 0 }));
}

TEST_F(AlarmRule, AMomentPastWhenSwitchedOnWaitsForTheNextDay)
{
    Check(At(10, 8, 0, 0));
    EXPECT_FALSE(Check(At(10, 8, 0, 29)));
    // Switched on at 08:00:30 for 07:00:00, between two ticks.
    SwitchOn(At(10, 8, 0, 30), "07:00:00");
    EXPECT_EQ(Rings({ At(10, 8, 0, 31), At(10, 8, 0, 32), At(10, 23, 59, 59) }), Rang{});
    EXPECT_EQ(Rings({ At(11, 6, 59, 59), At(11, 7, 0, 0) }), (Rang{ 1 }));

    // Set anew for a second already past while the alarm is on, and for a
    // moment ahead: only the moment ahead rings.
    SwitchOn(At(11, 9, 0, 0), "08:59:59");
    EXPECT_FALSE(Check(At(11, 9, 0, 1)));
    SwitchOn(At(11, 9, 0, 1), "09:00:03");
    EXPECT_EQ(Rings({ At(11, 9, 0, 2), At(11, 9, 0, 3), At(11, 9, 0, 4) }), (Rang{ 1 }));
}

TEST_F(AlarmRule, NothingBeforeTheFirstCheckRingsAndAnAlarmOffNeverRings)
{
    // On from the start (the record changed before any tick): the first tick
    // after the moment does not ring for a moment the program never saw.
    std::strcpy(settings.alarmFlag, "Yes");
    std::strcpy(settings.alarmTime, "07:00:00");
    EXPECT_FALSE(Check(At(10, 7, 0, 5)));
    EXPECT_TRUE(Check(At(11, 7, 0, 0)));

    // Off: the checks go on being recorded, nothing rings.
    std::strcpy(settings.alarmFlag, "No");
    std::strcpy(settings.alarmTime, "00:00:00");
    EXPECT_EQ(Rings({ At(11, 23, 59, 59), At(12, 0, 0, 0), At(12, 7, 0, 0) }), Rang{});
    // Switched on again later the same day for 07:00: its moment was before.
    SwitchOn(At(12, 7, 0, 1), "07:00:00");
    EXPECT_EQ(Rings({ At(12, 7, 0, 2), At(13, 7, 0, 0) }), (Rang{ 1 }));
}

TEST(LocalMoments, CountSecondsContinuouslyAcrossDaysMonthsAndYears)
{
    EXPECT_EQ(MomentSeconds({ 1970, 1, 1, 0, 0, 0 }), 0);
    EXPECT_EQ(MomentSeconds({ 1970, 1, 2, 0, 0, 0 }), 86400);
    EXPECT_EQ(MomentSeconds({ 2026, 12, 31, 23, 59, 59 }) + 1, MomentSeconds({ 2027, 1, 1, 0, 0, 0 }));
    EXPECT_EQ(MomentSeconds({ 2028, 2, 28, 0, 0, 0 }) + 2 * 86400, MomentSeconds({ 2028, 3, 1, 0, 0, 0 }));
    EXPECT_EQ(MomentSeconds({ 2100, 2, 28, 0, 0, 0 }) + 86400, MomentSeconds({ 2100, 3, 1, 0, 0, 0 }));
    EXPECT_EQ(MomentSeconds({ 2000, 2, 28, 0, 0, 0 }) + 2 * 86400, MomentSeconds({ 2000, 3, 1, 0, 0, 0 }));
    EXPECT_EQ(MomentSeconds({ 1601, 1, 1, 0, 0, 0 }), -11644473600LL);   // FILETIME's epoch
}

}  // namespace
