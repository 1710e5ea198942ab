#include "timers/countdown.h"

int countdownActive = 0;
uint32_t countdownStartMs = 0;
std::string countdownRemaining = "00:00:00";
std::string countdownNote;
