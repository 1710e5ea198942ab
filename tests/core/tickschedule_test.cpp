// When the clock ticks: just after each second of the local clock starts,
// every second once, with a timer that comes late or early and a clock that
// is set forwards and back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "app/tickschedule.h"

namespace {

// A local time given in milliseconds since midnight of 15 May 2026.
LocalMoment Moment(int64_t ms)
{
    int64_t s = ms / 1000;
    return { 2026, 5, 15 + static_cast<int>(s / 86400), static_cast<int>(s % 86400 / 3600),
             static_cast<int>(s % 3600 / 60), static_cast<int>(s % 60) };
}

TickPlan Message(TickSchedule& schedule, int64_t localMs)
{
    return PlanTick(schedule, Moment(localMs), static_cast<int>(localMs % 1000));
}

struct Outcome {
    int ticks = 0, arms = 0;
    int64_t worstLag = 0;
    std::string fault;   // the first thing that went wrong, and when
};

// Two days of timer messages. The timer fires up to `early` ms before or
// `late` ms after it is due; left alone it is due again a period after it
// was due, or (like Windows' timer on its 15.6 ms clock) the period rounded
// up to that clock after it fired. Every 20000 messages the local clock is
// set: back an hour, forwards a day, back 300 ms, back 1.5 s, ...
Outcome TwoDays(int early, int late, bool windowsClock)
{
    TickSchedule schedule;
    std::mt19937 random(13);
    std::uniform_int_distribution<int> jitter(-early, late);
    int64_t realMs = 0, dueMs = 0, offsetMs = 12345, lastShown = -1, lastSetAt = -1;
    int64_t period = tickIntervalMs;   // as the timer was last armed
    Outcome run;
    for (int messages = 1; realMs < 2 * 86400000LL; ++messages) {
        int64_t localMs = realMs + offsetMs;
        TickPlan plan = Message(schedule, localMs);
        if (plan.armMs && (plan.armMs <= tickMarginMs || plan.armMs > 1000 + tickMarginMs))
            run.fault = "armed with " + std::to_string(plan.armMs) + " ms at " + std::to_string(localMs);
        run.arms += plan.armMs != 0;
        if (plan.tickNow) {
            int64_t second = localMs / 1000;
            if (lastShown >= 0 && (lastSetAt < 0 || realMs - lastSetAt > 2000)) {
                if (second != lastShown + 1)
                    run.fault = "second " + std::to_string(second) + " after " + std::to_string(lastShown);
                run.worstLag = std::max(run.worstLag, localMs % 1000);
                ++run.ticks;
            }
            lastShown = second;
        }
        if (!run.fault.empty())
            return run;
        if (plan.armMs)
            period = plan.armMs;
        if (windowsClock)
            dueMs = realMs + (period * 64 + 999) / 1000 * 1000 / 64;   // 15.625 ms steps
        else
            dueMs = plan.armMs ? realMs + period : dueMs + period;
        realMs = std::max(realMs + 1, dueMs + jitter(random));
        if (messages % 20000 == 0) {
            static const int64_t steps[] = { -3600000, 86400000, -300, -1500, 700, -86400000 };
            int64_t step = steps[messages / 20000 % 6];
            offsetMs += step;
            if (step != -300)   // back less than a second still shows every second once
                lastSetAt = realMs;
        }
    }
    return run;
}

TEST(TickSchedule, EverySecondOnceJustAfterItStartsWithAJitteryTimerAndTheClockSet)
{
    // The first message comes at any moment; the next is due just after the
    // next second starts. One that comes early only waits for it, and a tick
    // on its mark leaves the timer at its period of a second.
    TickSchedule schedule;
    TickPlan first = Message(schedule, 8 * 3600000 + 640);
    EXPECT_TRUE(first.tickNow);
    EXPECT_EQ(first.armMs, 360 + tickMarginMs);
    TickPlan early = Message(schedule, 8 * 3600000 + 996);
    EXPECT_FALSE(early.tickNow);
    EXPECT_EQ(early.armMs, 4 + tickMarginMs);
    EXPECT_EQ(Message(schedule, 8 * 3600000 + 1000 + tickMarginMs).armMs, tickIntervalMs);
    TickPlan onMark = Message(schedule, 8 * 3600000 + 2000 + tickMarginMs + tickSlackMs);
    EXPECT_TRUE(onMark.tickNow);
    EXPECT_EQ(onMark.armMs, 0u);

    // A timer as steady as Wine's is armed now and then; one on Windows'
    // coarse clock about every other tick; each second shows in time.
    Outcome steady = TwoDays(0, 2, false);
    EXPECT_EQ(steady.fault, "");
    EXPECT_GT(steady.ticks, 170000);
    EXPECT_LT(steady.arms, steady.ticks / 50);
    EXPECT_LE(steady.worstLag, tickMarginMs + tickSlackMs + 2);
    Outcome coarse = TwoDays(0, 2, true);
    EXPECT_EQ(coarse.fault, "");
    EXPECT_LT(coarse.worstLag, 50);
    // A timer up to 40 ms early or 400 ms late: never a second skipped or twice.
    Outcome jittery = TwoDays(40, 400, false);
    EXPECT_EQ(jittery.fault, "");
    EXPECT_GT(jittery.ticks, 170000);
}

}  // namespace
