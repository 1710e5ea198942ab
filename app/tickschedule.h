// When the clock ticks: each tick is due just after a whole second of the
// local clock starts, so the seconds in the title change in step with the
// system's clock, whatever the previous tick cost and however long the
// program runs.
//
// Every timer message reads the local time once; from the milliseconds of
// that reading the timer is armed anew for the start of the next second plus
// a small margin. A message that comes while the second of the last tick is
// still running (the timer came a little early, or the clock was put back by
// less than a second) is no tick: it only arms the timer for the start of the
// next second, so no second is shown twice. A reading earlier than the last
// tick's second (the clock set back further) and a later one (set forwards,
// or the thread was held up) are ticks at once. So the timer never waits
// longer than a second and a margin, and never fires in a burst.
#ifndef TIKAVO_TICKSCHEDULE_H
#define TIKAVO_TICKSCHEDULE_H

#include <cstdint>

#include "timers/alarm.h"

// How long after the start of a second its tick is due: about one period of
// the system's clock interrupt, in which the timer's clock and the local
// clock may disagree.
constexpr unsigned tickMarginMs = 15;

// The second of the last tick on a continuous local count (MomentSeconds);
// noTickYet before the first.
constexpr int64_t noTickYet = INT64_MIN;
extern int64_t lastTickSecond;

struct TickPlan {
    bool tickNow;        // false: the last tick's second is still running
    unsigned delayMs;    // from the reading until the next timer message
};

// A timer message that read the local time now, with its milliseconds
// (0 to 999): whether it is a tick, and when the next message is due.
// Records the tick's second.
TickPlan PlanTick(const LocalMoment& now, int milliseconds);

#endif
