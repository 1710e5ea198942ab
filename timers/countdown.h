// The countdown's state, read by the title composition, and its arithmetic.
#ifndef TIKAVO_COUNTDOWN_H
#define TIKAVO_COUNTDOWN_H

#include <cstdint>
#include <string>

extern int countdownActive;              // 1 while a countdown runs
extern std::string countdownRemaining;   // the remaining time, "HH:MM:SS"
extern std::u16string countdownNote;     // the note shown with it, as typed

// Renews countdownRemaining for a countdown of the given duration (a time
// string) started at startMs and read at nowMs on the millisecond clock:
// the duration less the whole seconds elapsed, never below "00:00:00". The
// clock's wrap between start and now does no harm. True once it is zero.
bool UpdateCountdown(const char* duration, uint32_t startMs, uint32_t nowMs);

#endif
