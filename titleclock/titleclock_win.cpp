// The system's side of the title ledger. Titles are read without a message to
// the owner (one that hangs cannot stop the clock), and written with one that
// gives up after a while; SMTO_BLOCK: no tick, menu or box runs meanwhile.
#include "titleclock/titleclock.h"

#include <algorithm>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide text is UTF-16");

char clockText[1000];

namespace {

TitleLedger titleLedger;   // what the clock has written into which window
constexpr UINT sendFlags = SMTO_BLOCK | SMTO_ABORTIFHUNG, titleWriteTimeoutMs = 200;
// At exit the windows owed their titles wait together, no longer than this in
// all, each still a moment to answer.
constexpr DWORD exitWaitMs = 2000, leastWaitMs = 10;
DWORD exitEnd;   // while the exit gives titles back, when it stops waiting; else 0

UINT WaitMs(UINT usual)
{
    DWORD left = exitEnd - GetTickCount();   // past the end it wraps far above exitWaitMs
    return exitEnd == 0 ? usual : std::clamp<UINT>(left > exitWaitMs ? 0 : left, leastWaitMs, usual);
}

HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(window); }

bool ReadTitle(void*, WindowId window, std::u16string& title)
{
    static wchar_t buffer[maxTitleLength + 2];
    int got = IsWindow(AsWindow(window)) ? InternalGetWindowText(AsWindow(window), buffer, maxTitleLength + 2) : -1;
    if (got < 0 || static_cast<size_t>(got) > maxTitleLength)
        return false;
    title.assign(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(got));
    return true;
}

// On Windows a message the owner has not taken in time is cancelled, one it
// took completes later, a thread silent for about 5 s is not sent to, and a
// window of a program run as administrator refuses at once. (Wine delivers a
// timed-out message later; either way at most the last text is on its way.)
WriteAnswer WriteTitle(void*, WindowId window, const char16_t* text)
{
    DWORD_PTR result = 0;
    SetLastError(0);
    if (SendMessageTimeoutW(AsWindow(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), sendFlags,
                            WaitMs(titleWriteTimeoutMs), &result))
        return WriteAnswer::Answered;
    DWORD error = GetLastError();   // before any other call may set it
    if (!IsWindow(AsWindow(window)))
        return WriteAnswer::Gone;
    return error == ERROR_ACCESS_DENIED ? WriteAnswer::Refused : WriteAnswer::Pending;
}

// A message the owner answers comes after everything sent to it before; a
// window that is gone has nothing on its way.
bool Answers(void*, WindowId window, bool patient)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(AsWindow(window), WM_NULL, 0, 0, sendFlags,
                               patient ? WaitMs(exitWaitMs) : titleWriteTimeoutMs / 4, &result) != 0
        || !IsWindow(AsWindow(window));
}

const TitleAccess windowTitles{ ReadTitle, WriteTitle, Answers, nullptr };

}  // namespace

void TrackForegroundWindow()
{
    FollowFront(titleLedger, windowTitles, reinterpret_cast<WindowId>(GetForegroundWindow()));
}

void RestoreTrackedTitle()
{
    exitEnd = (GetTickCount() + exitWaitMs) | 1;
    GiveAllTitlesBack(titleLedger, windowTitles);
    exitEnd = 0;
}

void FormatClockText(const SYSTEMTIME& now, const char* szDay, bool seconds)
{
    FormatClock(clockText, sizeof clockText, szDay, now.wDay, now.wMonth, now.wYear,
                now.wHour, now.wMinute, now.wSecond, seconds);
}

void ComposeAndWriteTitle(const TitleParts& parts)
{
    DecorateFront(titleLedger, windowTitles, parts);
}
