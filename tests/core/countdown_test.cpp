// The countdown's remaining time: the duration less the whole seconds
// elapsed on the millisecond clock, never below zero, across the clock's wrap.
#include <gtest/gtest.h>

#include "timers/countdown.h"

namespace {

struct Reading {
    bool zero;
    std::string remaining;
};

Reading At(const char* duration, uint32_t startMs, uint32_t nowMs)
{
    std::string remaining = "stale";
    bool zero = UpdateCountdown(duration, startMs, nowMs, remaining);
    return { zero, remaining };
}

TEST(CountdownRemaining, CountsWholeSecondsElapsedSinceTheStart)
{
    const uint32_t start = 5000000;
    // A tick less than a second after OK shows the full duration.
    EXPECT_EQ(At("00:01:00", start, start).remaining, "00:01:00");
    EXPECT_EQ(At("00:01:00", start, start + 999).remaining, "00:01:00");
    EXPECT_EQ(At("00:01:00", start, start + 1000).remaining, "00:00:59");
    EXPECT_EQ(At("00:01:00", start, start + 1999).remaining, "00:00:59");
    // A late tick skips values instead of stretching the countdown.
    EXPECT_EQ(At("00:01:00", start, start + 7400).remaining, "00:00:53");
    EXPECT_FALSE(At("00:01:00", start, start + 59999).zero);
    EXPECT_EQ(At("00:01:00", start, start + 59999).remaining, "00:00:01");

    Reading end = At("00:01:00", start, start + 60000);
    EXPECT_TRUE(end.zero);
    EXPECT_EQ(end.remaining, "00:00:00");
}

TEST(CountdownRemaining, AZeroDurationIsDueAtTheFirstTick)
{
    Reading r = At("00:00:00", 1234, 1234);
    EXPECT_TRUE(r.zero);
    EXPECT_EQ(r.remaining, "00:00:00");
    EXPECT_TRUE(At("00:00:00", 1234, 1700).zero);
}

TEST(CountdownRemaining, TheLongestDurationCountsDownFromItself)
{
    EXPECT_EQ(At("23:59:59", 0, 0).remaining, "23:59:59");
    EXPECT_EQ(At("23:59:59", 0, 1000).remaining, "23:59:58");
    EXPECT_EQ(At("23:59:59", 0, 3600000).remaining, "22:59:59");
    EXPECT_EQ(At("23:59:59", 0, 86398000).remaining, "00:00:01");
    EXPECT_FALSE(At("23:59:59", 0, 86398000).zero);
    EXPECT_TRUE(At("23:59:59", 0, 86399000).zero);
}

TEST(CountdownRemaining, StaysAtZeroOnceElapsedPassesTheTotal)
{
    // No tick ran for a while (the name list was being edited): the first
    // tick afterwards is due and never shows a negative or wrapped time.
    for (uint32_t late : { 61000u, 62000u, 3600000u, 86400000u, 4000000000u }) {
        Reading r = At("00:01:00", 100, 100 + late);
        EXPECT_TRUE(r.zero) << late;
        EXPECT_EQ(r.remaining, "00:00:00") << late;
    }
}

TEST(CountdownRemaining, SurvivesTheMillisecondClockWrappingBetweenStartAndNow)
{
    const uint32_t start = 0xFFFFF000u;   // 4096 ms before the wrap
    EXPECT_EQ(At("00:00:10", start, start + 500).remaining, "00:00:10");
    EXPECT_EQ(At("00:00:10", start, 0x00000000u).remaining, "00:00:06");
    EXPECT_EQ(At("00:00:10", start, 0x00000BB8u).remaining, "00:00:03");   // 7096 ms
    Reading before = At("00:00:10", start, 0x00001700u);                  // 9984 ms
    EXPECT_FALSE(before.zero);
    EXPECT_EQ(before.remaining, "00:00:01");
    EXPECT_TRUE(At("00:00:10", start, 0x00001710u).zero);                  // 10000 ms
}

}  // namespace
