#include "app/tickschedule.h"

int64_t lastTickSecond = noTickYet;

TickPlan PlanTick(const LocalMoment& now, int milliseconds)
{
    if (milliseconds < 0)
        milliseconds = 0;
    if (milliseconds > 999)
        milliseconds = 999;
    TickPlan plan;
    plan.delayMs = 1000u - static_cast<unsigned>(milliseconds) + tickMarginMs;

    int64_t second = MomentSeconds(now);
    plan.tickNow = second != lastTickSecond;
    if (plan.tickNow)
        lastTickSecond = second;
    return plan;
}
