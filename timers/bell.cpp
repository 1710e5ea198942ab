// The ring: the bell plays in a loop for as long as its message box is open.
#include "timers/timers.h"

#include "common/program.h"

void RingBell(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    timerCalls.playBellSound("BELL", appInstance, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    // The program is seldom in the foreground when it rings, and Windows then
    // lets none of its windows come to the front: topmost, the box stands
    // above every ordinary window (a full-screen one too) whether or not it
    // gets the focus. An owned box has no taskbar button to flash.
    timerCalls.showRingBox(owner, text, caption, MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
    timerCalls.playBellSound(nullptr, appInstance, SND_PURGE);
}
