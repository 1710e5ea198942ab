// When the clock ticks: each tick is due just after a whole second of the
// local clock starts, so the seconds in the title change in step with the
// system's clock, whatever the previous tick cost and however long the
// program runs.
//
// Every timer message reads the local time once. A tick that came on its
// mark (a few milliseconds after its second started) leaves the timer as it
// is, armed with a period of one second; any other message arms it anew from
// the milliseconds of its reading for the start of the next second plus a
// small margin. A message that comes while the second of the last tick is
// still running (the timer came a little early, or the clock was put back by
// less than a second) is no tick: it only arms the timer for the start of the
// next second, so no second is shown twice. A reading earlier than the last
// tick's second (the clock set back further) and a later one (set forwards,
// or the thread was held up) are ticks at once. So the timer never waits
// longer than a second and a margin, and never fires in a burst.
#ifndef TIKAVO_TICKSCHEDULE_H
#define TIKAVO_TICKSCHEDULE_H

#include <cstdint>

#include "common/localtime.h"

// How long after the start of a second its tick is due: about one period of
// the system's clock interrupt, in which the timer's clock and the local
// clock may disagree.
constexpr unsigned tickMarginMs = 15;
// A tick up to this much later than due is on its mark: the timer, armed
// with a period of a second, is left alone (arming it costs a call into the
// system).
constexpr unsigned tickSlackMs = 8;
constexpr unsigned tickIntervalMs = 1000;

// What the schedule remembers from one timer message to the next: the
// second of the last tick on a continuous local count (MomentSeconds;
// INT64_MIN before the first), and the period the timer is armed with.
struct TickSchedule {
    int64_t lastTickSecond = INT64_MIN;
    unsigned tickArmedMs = tickIntervalMs;
};

struct TickPlan {
    bool tickNow;     // false: the last tick's second is still running
    unsigned armMs;   // arm the timer anew with this period; 0: leave it
};

// A timer message that read the local time now, with its milliseconds
// (0 to 999): whether it is a tick, and how to arm the timer for the next
// one. Records the tick's second and the period armed in the schedule.
TickPlan PlanTick(TickSchedule& schedule, const LocalMoment& now, int milliseconds);

#endif
