#include "app/tickschedule.h"

TickPlan PlanTick(TickSchedule& schedule, const LocalMoment& now, int milliseconds)
{
    unsigned ms = milliseconds < 0 ? 0u : milliseconds > 999 ? 999u : static_cast<unsigned>(milliseconds);
    int64_t second = MomentSeconds(now);
    TickPlan plan;
    plan.tickNow = second != schedule.lastTickSecond;
    if (plan.tickNow)
        schedule.lastTickSecond = second;

    bool onMark = plan.tickNow && ms >= tickMarginMs && ms <= tickMarginMs + tickSlackMs;
    unsigned period = onMark ? tickIntervalMs : tickIntervalMs - ms + tickMarginMs;
    plan.armMs = period == schedule.tickArmedMs ? 0 : period;
    schedule.tickArmedMs = period;
    return plan;
}
