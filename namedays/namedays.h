// Name days: the list beside the program, today's name, editing the list.
#ifndef TIKAVO_NAMEDAYS_H
#define TIKAVO_NAMEDAYS_H

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "namedays/namelist.h"

// Tick step 7: opens jmena.txt beside the program and looks today's name up
// when a lookup is due, also when the list has been saved since it was last
// opened. False when it has just reported that the list cannot be opened:
// the tick then ends.
bool UpdateTodayName(int day, int month);

// The directory of the program followed by one "\"; empty when the
// program's path cannot be had.
std::wstring GetProgramDirectory();

// Opens the list in Windows' Notepad, waits for it, asks for a new lookup.
void EditNameList();

#endif
