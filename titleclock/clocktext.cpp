#include "titleclock/clocktext.h"

char currentTime[64];
char clockText[1000];
