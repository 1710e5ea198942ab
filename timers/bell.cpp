// The ring: the bell plays in a loop for as long as its message box is open.
#include "timers/timers.h"

#include <mmsystem.h>

#include "app/app.h"

BOOL (WINAPI *bellSoundPlayer)(LPCSTR, HMODULE, DWORD) = PlayBellSound;

void RingBell(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    bellSoundPlayer("BELL", appInstance, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    MessageBoxW(owner, text, caption, MB_OK);
    bellSoundPlayer(nullptr, appInstance, SND_PURGE);
}
