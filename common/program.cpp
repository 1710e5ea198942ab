#include "common/program.h"

HINSTANCE appInstance;
int placeBefore = 0;
