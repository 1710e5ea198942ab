// The system's libraries the program loads itself: the multimedia library
// and the common controls, when they are first needed -- a ring, a
// countdown, a dialog -- not at start-up. The clock ticks all day without
// them, and each costs megabytes once loaded.
//
// Only the system's own copies: the program is often unzipped into
// Downloads, among files that came unasked, and Windows looks for a library
// named without its folder in the program's folder first.
#include "common/systemlibs.h"

#include <commctrl.h>

namespace {

// Windows 8 and later, and Windows 7 with its update KB2533623, have it, and
// with it the LOAD_LIBRARY_SEARCH_ flags. kernel32 is loaded in every
// process and is one of the system's known libraries.
using SetDefaultDllDirectoriesFn = BOOL (WINAPI *)(DWORD);
SetDefaultDllDirectoriesFn SetDefaultDllDirectoriesEntry()
{
    return reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    // By name, so that the common controls come as the manifest asks for
    // them (version 6, from the system's side-by-side store).
    if (SetDefaultDllDirectoriesEntry())
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without the update: the full path, and the libraries this
    // one needs are looked for beside it first.
    wchar_t path[MAX_PATH];
    return SystemFilePath(name, path) ? LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) : nullptr;
}

FARPROC Entry(const wchar_t* library, const char* function)
{
    HMODULE module = LoadSystemLibrary(library);
    return module ? GetProcAddress(module, function) : nullptr;
}

template <typename Function>
Function EntryAs(const wchar_t* library, const char* function)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(Entry(library, function)));
}

}  // namespace

void SearchSystemFolderOnly()
{
    SetDefaultDllDirectoriesFn setDefault = SetDefaultDllDirectoriesEntry();
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        SetDllDirectoryW(L"");   // Windows 7 without the update: not the current folder at least
}

BOOL WINAPI PlayBellSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    using PlaySoundFn = BOOL (WINAPI *)(LPCSTR, HMODULE, DWORD);
    static PlaySoundFn play = EntryAs<PlaySoundFn>(L"winmm.dll", "PlaySoundA");
    return play ? play(sound, module, flags) : FALSE;
}

MMRESULT WINAPI ReadSystemMilliseconds(LPMMTIME time, UINT size)
{
    using SystemTimeFn = MMRESULT (WINAPI *)(LPMMTIME, UINT);
    static SystemTimeFn read = EntryAs<SystemTimeFn>(L"winmm.dll", "timeGetSystemTime");
    if (read)
        return read(time, size);
    // The same milliseconds since the system started.
    time->wType = TIME_MS;
    time->u.ms = GetTickCount();
    return TIMERR_NOERROR;
}

bool MakeDatePickerAvailable()
{
    using InitFn = BOOL (WINAPI *)(const INITCOMMONCONTROLSEX*);
    static bool available = false;
    if (!available) {
        InitFn init = EntryAs<InitFn>(L"comctl32.dll", "InitCommonControlsEx");
        INITCOMMONCONTROLSEX icc = { sizeof icc, ICC_DATE_CLASSES };
        available = init && init(&icc);
    }
    return available;
}
