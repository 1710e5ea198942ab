// The multimedia library and the common controls are loaded when they are
// first needed -- a ring, a countdown, a dialog -- not at start-up. The clock
// ticks all day without them, and each costs megabytes once loaded.
#include "timers/timers.h"

#include <commctrl.h>

namespace {

FARPROC Entry(const char* library, const char* function)
{
    HMODULE module = GetModuleHandleA(library);
    if (!module)
        module = LoadLibraryA(library);
    return module ? GetProcAddress(module, function) : nullptr;
}

template <typename Function>
Function EntryAs(const char* library, const char* function)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(Entry(library, function)));
}

}  // namespace

BOOL WINAPI PlayBellSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    using PlaySoundFn = BOOL (WINAPI *)(LPCSTR, HMODULE, DWORD);
    static PlaySoundFn play = EntryAs<PlaySoundFn>("winmm.dll", "PlaySoundA");
    return play ? play(sound, module, flags) : FALSE;
}

MMRESULT WINAPI ReadSystemMilliseconds(LPMMTIME time, UINT size)
{
    using SystemTimeFn = MMRESULT (WINAPI *)(LPMMTIME, UINT);
    static SystemTimeFn read = EntryAs<SystemTimeFn>("winmm.dll", "timeGetSystemTime");
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
        InitFn init = EntryAs<InitFn>("comctl32.dll", "InitCommonControlsEx");
        INITCOMMONCONTROLSEX icc = { sizeof icc, ICC_DATE_CLASSES };
        available = init && init(&icc);
    }
    return available;
}
