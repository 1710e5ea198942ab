#include "common/program.h"

HINSTANCE appInstance;
int placeBefore = 0;
void (WINAPI *readLocalTime)(LPSYSTEMTIME) = GetLocalTime;
