// The countdown's state, read by the title composition.
#ifndef TIKAVO_COUNTDOWN_H
#define TIKAVO_COUNTDOWN_H

#include <cstdint>
#include <string>

extern int countdownActive;              // 1 while a countdown runs
extern uint32_t countdownStartMs;        // the millisecond clock at its start
extern std::string countdownRemaining;   // the remaining time, "HH:MM:SS"
extern std::string countdownNote;        // the note shown with it

#endif
