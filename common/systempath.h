// Files of Windows itself, named by their full path: a bare name may be
// looked for beside the program first (often Downloads) or in the current
// folder.
#ifndef TIKAVO_SYSTEMPATH_H
#define TIKAVO_SYSTEMPATH_H

#include <windows.h>
#include <shlwapi.h>

// The system folder's file name into path; false when it does not fit.
inline bool SystemFilePath(const wchar_t* name, wchar_t (&path)[MAX_PATH])
{
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    return length > 0 && length < MAX_PATH && PathAppendW(path, name);
}

#endif
