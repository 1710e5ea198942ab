// The system's own libraries and programs, never files of their names that
// happen to lie beside the program (often in Downloads) or in the current
// folder.
#ifndef TIKAVO_SYSTEMLIBS_H
#define TIKAVO_SYSTEMLIBS_H

#include <windows.h>
#include <mmsystem.h>
#include <shlwapi.h>

// The system folder's file name into path; false when it does not fit.
inline bool SystemFilePath(const wchar_t* name, wchar_t (&path)[MAX_PATH])
{
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH && PathAppendW(path, name);
}

// Called first thing at start-up: the process looks for the libraries it
// loads, and those they load in turn, in the system folder only, never in
// the program's folder (where the system can be told so; elsewhere not in
// the current folder at least).
void SearchSystemFolderOnly();
// The system's PlaySoundA and timeGetSystemTime, with the system's
// multimedia library loaded on first use.
BOOL WINAPI PlayBellSound(LPCSTR sound, HMODULE module, DWORD flags);
MMRESULT WINAPI ReadSystemMilliseconds(LPMMTIME time, UINT size);
// Registers the date-time picker's window class (loading the common
// controls) before a dialog with a picker opens; false when it cannot.
bool MakeDatePickerAvailable();

#endif
