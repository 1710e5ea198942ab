// The countdown's arithmetic.
#ifndef TIKAVO_COUNTDOWN_H
#define TIKAVO_COUNTDOWN_H

#include <cstdint>
#include <string>

// Sets remaining ("HH:MM:SS") for a countdown of the given duration (a time
// string) started at startMs and read at nowMs on the millisecond clock:
// the duration less the whole seconds elapsed, never below "00:00:00". The
// clock's wrap between start and now does no harm. True once it is zero.
bool UpdateCountdown(const char* duration, uint32_t startMs, uint32_t nowMs, std::string& remaining);

#endif
