#include "app/tickschedule.h"

int64_t lastTickSecond = noTickYet;
unsigned tickArmedMs = tickPeriodMs;

TickPlan PlanTick(const LocalMoment& now, int milliseconds)
{
    unsigned ms = milliseconds < 0 ? 0u : milliseconds > 999 ? 999u : static_cast<unsigned>(milliseconds);
    int64_t second = MomentSeconds(now);
    TickPlan plan;
    plan.tickNow = second != lastTickSecond;
    if (plan.tickNow)
        lastTickSecond = second;

    bool onMark = plan.tickNow && ms >= tickMarginMs && ms <= tickMarginMs + tickSlackMs;
    unsigned period = onMark ? tickPeriodMs : tickPeriodMs - ms + tickMarginMs;
    plan.armMs = period == tickArmedMs ? 0 : period;
    tickArmedMs = period;
    return plan;
}
