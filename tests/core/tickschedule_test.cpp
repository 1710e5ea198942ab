// When the clock ticks: just after each second of the local clock starts,
// every second once, with a timer that comes late or early and a clock that
// is set forwards and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

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

// A morning's second, in milliseconds.
constexpr int64_t At(int second) { return 8 * 3600000LL + second * 1000LL; }

TEST(TickSchedule, ATickIsDueJustAfterTheNextSecondAndAnEarlyMessageOnlyWaitsForIt)
{
    lastTickSecond = noTickYet;
    // The first message after start-up comes at any moment of its second.
    TickPlan first = Message(At(7) + 640);
    EXPECT_TRUE(first.tickNow);
    EXPECT_EQ(first.delayMs, 360u + tickMarginMs);
    TickPlan onTime = Message(At(8) + tickMarginMs);
    EXPECT_TRUE(onTime.tickNow);
    EXPECT_EQ(onTime.delayMs, 1000u);
    // A slow tick, or one held up, still arms for the next second's start.
    TickPlan late = Message(At(9) + 870);
    EXPECT_TRUE(late.tickNow);
    EXPECT_EQ(late.delayMs, 130u + tickMarginMs);

    // The timer came early: second 9 was shown; the message waits for 10.
    TickPlan early = Message(At(9) + 996);
    EXPECT_FALSE(early.tickNow);
    EXPECT_EQ(early.delayMs, 4u + tickMarginMs);
    EXPECT_TRUE(Message(At(10) + tickMarginMs).tickNow);

    // The clock put back by 300 ms just after a tick: no second twice.
    EXPECT_FALSE(Message(At(10) + tickMarginMs + 700).tickNow);
    // Put back an hour, or forwards a day: a tick at once, aligned again.
    TickPlan back = Message(At(10) - 3600000 + 402);
    EXPECT_TRUE(back.tickNow);
    EXPECT_EQ(back.delayMs, 598u + tickMarginMs);
    EXPECT_TRUE(Message(At(10) + 86400000 + 5).tickNow);
}

TEST(TickSchedule, AJitteryTimerShowsEverySecondOnceAndTheClockSetNeverStopsOrFloodsIt)
{
    // Two days of a timer that comes up to 40 ms early or 400 ms late, on a
    // local clock that is sometimes set back or forwards.
    lastTickSecond = noTickYet;
    std::mt19937 random(13);
    std::uniform_int_distribution<int> jitter(-40, 400);
    int64_t realMs = 0, offsetMs = 12345;
    int64_t lastShown = -1, lastSetAt = -1;
    std::vector<int64_t> lags;
    int messages = 0;
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
                lags.push_back(localMs % 1000);
            }
            lastShown = second;
        }
        realMs += std::max<int64_t>(1, static_cast<int64_t>(plan.delayMs) + jitter(random));
        if (messages % 20000 == 0) {
            // Back an hour, forwards a day, back 300 ms, back 1.5 s, ...
            static const int64_t steps[] = { -3600000, 86400000, -300, -1500, 700, -86400000 };
            offsetMs += steps[messages / 20000 % 6];
            lastSetAt = realMs;
        }
    }
    // Every settled tick falls within the margin and the timer's lateness.
    ASSERT_GT(lags.size(), 170000u);
    for (int64_t lag : lags)
        ASSERT_LE(lag, tickMarginMs + 400);
}

}  // namespace
