// Following the foreground window, writing the decorated title into it and
// giving every window its own title back: the system's side of the title
// ledger, which decides what is written and what a window's own title is.
//
// Titles are read without sending the window a message (so a window whose
// owner hangs cannot stop the clock while it is read) and written with a
// message that gives up after titleWriteTimeoutMs. While it waits, the
// program's thread handles nothing else: no tick, menu or box runs inside a
// title write, whatever the window's owner sends back meanwhile.
#include "titleclock/titleclock.h"

#include "app/app.h"
#include "namedays/namelist.h"
#include "timers/countdown.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide text is UTF-16");

HWND trackedWindow;
TitleLedger titleLedger;

namespace {

HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId IdOf(HWND window) { return reinterpret_cast<WindowId>(window); }

bool WindowExists(void*, WindowId window)
{
    return IsWindow(AsWindow(window)) != FALSE;
}

// The window's whole title, read without a message to its owner, into
// title (its room is reused from tick to tick).
void ReadTitle(void*, WindowId window, std::u16string& title)
{
    static std::vector<wchar_t> buffer(1024);
    if (!window) {
        title.clear();
        return;
    }
    for (;;) {
        int got = InternalGetWindowText(AsWindow(window), buffer.data(), static_cast<int>(buffer.size()));
        if (got < 0)
            got = 0;
        if (static_cast<size_t>(got) + 1 < buffer.size() || buffer.size() >= (1u << 24)) {
            title.assign(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<size_t>(got));
            return;
        }
        buffer.resize(buffer.size() * 4);
    }
}

// Sends the title and waits a short while for the owner to take it. (The
// program's only window in its own process is on this thread, where the
// message is a plain call; other processes get a copy of the text, so a
// message still pending after the wait does not depend on this buffer.)
WriteAnswer WriteTitle(void*, WindowId window, const char16_t* text)
{
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(AsWindow(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                            SMTO_BLOCK | SMTO_ABORTIFHUNG, titleWriteTimeoutMs, &result))
        return WriteAnswer::Answered;
    return IsWindow(AsWindow(window)) ? WriteAnswer::Unanswered : WriteAnswer::Gone;
}

const TitleAccess windowTitles{ WindowExists, ReadTitle, WriteTitle, nullptr };

}  // namespace

void TrackForegroundWindow()
{
    HWND foreground = GetForegroundWindow();
    trackedWindow = foreground;
    FollowFront(titleLedger, windowTitles, IdOf(foreground), windowTitle, savedTitle);
}

void RestoreTrackedTitle()
{
    trackedWindow = nullptr;
    GiveAllTitlesBack(titleLedger, windowTitles);
}

void FormatTickTexts(const SYSTEMTIME& now, char* szDay)
{
    ChooseDayName(now.wDayOfWeek, szDay);
    FormatTimeString(currentTime, sizeof currentTime, now.wHour, now.wMinute, now.wSecond);
}

void FormatClockText(const SYSTEMTIME& now, const char* szDay)
{
    FormatClock(clockText, sizeof clockText, szDay, now.wDay, now.wMonth, now.wYear,
                now.wHour, now.wMinute, now.wSecond);
}

void ComposeAndWriteTitle()
{
    if (!trackedWindow)
        return;
    TitleLayout layout;
    composedLength = ComposeTitle(composedTitle, titleCapacity, savedTitle, clockText, todayName.c_str(),
                                  countdownActive != 0, placeBefore != 0, countdownRemaining.c_str(),
                                  countdownNote.c_str(), &layout);
    WriteDecoration(titleLedger, windowTitles, IdOf(trackedWindow), composedTitle, layout);
}
