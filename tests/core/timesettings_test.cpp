// Time strings and the settings' start values.
#include <gtest/gtest.h>

#include <cstring>

#include "timers/timesettings.h"

namespace {

std::string Format(uint32_t seconds)
{
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    FormatSeconds(buffer, seconds);
    EXPECT_EQ(buffer[8], '\0') << "a time string is exactly eight characters";
    return buffer;
}

TEST(TimeStrings, FormatSecondsAtItsEdges)
{
    EXPECT_EQ(Format(0), "00:00:00");
    EXPECT_EQ(Format(59), "00:00:59");
    EXPECT_EQ(Format(60), "00:01:00");
    EXPECT_EQ(Format(3600), "01:00:00");
    EXPECT_EQ(Format(3661), "01:01:01");
    EXPECT_EQ(Format(86399), "23:59:59");
    // A day or more is no time of day: a countdown past its end shows zero.
    EXPECT_EQ(Format(86400), "00:00:00");
    EXPECT_EQ(Format(90061), "00:00:00");
    EXPECT_EQ(Format(4294967295u), "00:00:00");
}

TEST(TimeStrings, SplitTimeReadsEveryTimeStringBackAndToleratesOddColons)
{
    // Every time of day, "08" and "09" read as decimal.
    int h = -1, m = -1, s = -1;
    for (uint32_t t = 0; t < 86400; ++t) {
        SplitTime(Format(t).c_str(), h, m, s);
        ASSERT_EQ(static_cast<uint32_t>(h * 3600 + m * 60 + s), t) << Format(t);
    }

    // Runs of colons count as one separator, leading colons are skipped.
    SplitTime("::12::34:56", h, m, s);
    EXPECT_EQ(h, 12); EXPECT_EQ(m, 34); EXPECT_EQ(s, 56);

    // Missing parts read as zero rather than as stale values.
    SplitTime("5", h, m, s);
    EXPECT_EQ(h, 5); EXPECT_EQ(m, 0); EXPECT_EQ(s, 0);
}

TEST(TimerSettingsRecord, StartsWithTheAlarmOffAndAOneMinuteCountdown)
{
    ::TimerSettingsRecord settings = {};
    InitTimerSettings(settings);
    EXPECT_STREQ(settings.alarmFlag, "No");
    EXPECT_STREQ(settings.alarmTime, "00:00:00");
    EXPECT_STREQ(settings.countdownDuration, "00:01:00");
}

}  // namespace
