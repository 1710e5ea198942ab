// Name days: the list beside the program, today's name, editing the list.
#ifndef TIKAVO_NAMEDAYS_H
#define TIKAVO_NAMEDAYS_H

#include <windows.h>
#include <shellapi.h>

#include <string>

// The system call tests replace; `nameDayCalls = {}` puts the system's own back.
struct NameDayCalls {
    BOOL (WINAPI *startEditor)(SHELLEXECUTEINFOW*) = ShellExecuteExW;
};
extern NameDayCalls nameDayCalls;

// Today's name, as the name-day step last found it (Windows-1250; empty for
// none).
extern const std::string& todayName;

// Opens jmena.txt beside the program and looks today's name up when a
// lookup is due, also when the list has been saved since it was last opened
// or an editor EditNameList started has ended.
// False when it has just reported that the list cannot be opened: the tick
// then ends.
bool UpdateTodayName(int day, int month);

// Opens the list in Windows' Notepad and returns at once; the list is read
// again once that Notepad has ended (or at once when it could not start).
void EditNameList();

#endif
