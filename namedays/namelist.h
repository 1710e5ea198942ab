// The name-day list and the lookup of today's name.
#ifndef TIKAVO_NAMELIST_H
#define TIKAVO_NAMELIST_H

#include <string>

// Today's name; empty until a lookup has found one.
extern std::string todayName;

// Set by the editing of the list to ask the next tick for a new lookup.
extern int listEdited;
extern int editLookupDone;

#endif
