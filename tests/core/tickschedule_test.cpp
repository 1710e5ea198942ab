// When the clock ticks: just after each second of the local clock starts,
// every second once, with a timer that comes late or early and a clock that
// is set forwards and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "app/tickschedule.h"

namespace {

// A local time given in milliseconds since midnight of 15 May 2026.
LocalMoment Moment(int64_t ms)
{
    int64_t s = ms / 1000;
    return { 2026, 5, 15 + static_cast<int>(s / 86400), static_cast<int>(s % 86400 / 3600),
             static_cast<int>(s % 3600 / 60), static_cast<int>(s % 60) };
}

TickPlan Message(int64_t localMs)
{
    return PlanTick(Moment(localMs), static_cast<int>(localMs % 1000));
}

TEST(TickSchedule, EverySecondOnceJustAfterItStartsWithAJitteryTimerAndTheClockSet)
{
    // The first message comes at any moment; the next is due just after the
    // next second starts. One that comes early only waits for it.
    lastTickSecond = noTickYet;
    TickPlan first = Message(8 * 3600000 + 640);
    EXPECT_TRUE(first.tickNow);
    EXPECT_EQ(first.delayMs, 360 + tickMarginMs);
    TickPlan early = Message(8 * 3600000 + 996);
    EXPECT_FALSE(early.tickNow);
    EXPECT_EQ(early.delayMs, 4 + tickMarginMs);

    // Two days of a timer that comes up to 40 ms early or 400 ms late, on a
    // local clock that is sometimes set back or forwards.
    std::mt19937 random(13);
    std::uniform_int_distribution<int> jitter(-40, 400);
    int64_t realMs = 0, offsetMs = 12345;
    int64_t lastShown = -1, lastSetAt = -1;
    int64_t worstLag = 0;
    int messages = 0, ticks = 0;
    while (realMs < 2 * 86400000LL) {
        int64_t localMs = realMs + offsetMs;
        TickPlan plan = Message(localMs);
        ++messages;
        ASSERT_GE(plan.delayMs, tickMarginMs + 1) << "a burst of messages at " << localMs;
        ASSERT_LE(plan.delayMs, 1000 + tickMarginMs) << "the clock waits too long at " << localMs;
        if (plan.tickNow) {
            int64_t second = localMs / 1000;
            bool settled = lastSetAt < 0 || realMs - lastSetAt > 2000;
            if (settled && lastShown >= 0) {
                ASSERT_EQ(second, lastShown + 1) << "a second skipped or shown twice at " << localMs;
                worstLag = std::max(worstLag, localMs % 1000);
                ++ticks;
            }
            lastShown = second;
        }
        realMs += std::max<int64_t>(1, static_cast<int64_t>(plan.delayMs) + jitter(random));
        if (messages % 20000 == 0) {
            // Back an hour, forwards a day, back 300 ms, back 1.5 s, ...
            static const int64_t steps[] = { -3600000, 86400000, -300, -1500, 700, -86400000 };
            int64_t step = steps[messages / 20000 % 6];
            offsetMs += step;
            if (step != -300)   // back less than a second still shows every second once
                lastSetAt = realMs;
        }
    }
    // Every tick falls within the margin and the timer's lateness.
    EXPECT_GT(ticks, 170000);
    EXPECT_LE(worstLag, tickMarginMs + 400);
}

}  // namespace
