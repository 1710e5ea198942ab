#include "namedays/namelist.h"

std::string todayName;
int listEdited = 0;
int editLookupDone = 0;
