// Following the foreground window, writing the decorated title into it and
// giving every window its own title back.
//
// Titles are read without sending the window a message (so a window whose
// owner hangs cannot stop the clock while it is read) and written with a
// message that gives up after titleWriteTimeoutMs. A write the window did not
// take leaves no trace in what the program remembers as written; one its
// owner has not answered yet is remembered as pending, because it may still
// arrive. A window that left the front without getting its title back is
// owed it, and every tick tries again until it has it.
#include "titleclock/titleclock.h"

#include <cstring>
#include <vector>

#include "app/app.h"
#include "namedays/namelist.h"
#include "timers/countdown.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide text is UTF-16");

HWND trackedWindow;

namespace {

// A window that left the front while its owner did not answer: its own title
// and every decoration it may still show.
struct OwedTitle {
    HWND window;
    std::u16string own;
    std::vector<Decoration> written;
};
std::vector<OwedTitle> owedTitles;
constexpr size_t owedLimit = 8;

enum class WriteResult { Taken, Refused, Unanswered };

const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

// The window's whole title, read without a message to its owner, into
// title (its room is reused from tick to tick).
void ReadTitleInto(HWND window, std::u16string& title)
{
    static std::vector<wchar_t> buffer(1024);
    if (!window) {
        title.clear();
        return;
    }
    for (;;) {
        int got = InternalGetWindowText(window, buffer.data(), static_cast<int>(buffer.size()));
        if (got < 0)
            got = 0;
        if (static_cast<size_t>(got) + 1 < buffer.size() || buffer.size() >= (1u << 24)) {
            title.assign(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<size_t>(got));
            return;
        }
        buffer.resize(buffer.size() * 4);
    }
}

std::u16string ReadTitle(HWND window)
{
    std::u16string title;
    ReadTitleInto(window, title);
    return title;
}

// Sends the title and waits a short while for the owner to take it.
// (The program's only window in its own process is on this thread, where the
// message is a plain call; other processes get a copy of the text, so a
// message still pending after the wait does not depend on this buffer.)
WriteResult WriteTitle(HWND window, const char16_t* title)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AsWide(title)),
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, titleWriteTimeoutMs, &result))
        return IsWindow(window) ? WriteResult::Unanswered : WriteResult::Refused;
    // A window procedure may handle the text and still answer 0; what the
    // window shows afterwards decides.
    if (result != 0 || ReadTitle(window) == title)
        return WriteResult::Taken;
    return WriteResult::Refused;
}

// What the program may have put into the tracked window: the decoration
// last taken first, then the unanswered ones, newest first.
std::vector<Decoration> WrittenToTracked()
{
    std::vector<Decoration> written{ { composedTitle, writtenClockText } };
    written.insert(written.end(), pendingTitles.rbegin(), pendingTitles.rend());
    return written;
}

// Gives a window its own title back unless it already shows it or its owner
// has put a title of its own in meanwhile; true once nothing more is owed.
bool GiveTitleBack(HWND window, const std::u16string& own, const std::vector<Decoration>& written)
{
    if (!window || !IsWindow(window))
        return true;
    std::u16string shown = ReadTitle(window);
    std::u16string back = OwnTitleOf(shown, own, written);
    if (shown == back)
        return true;
    return WriteTitle(window, back.c_str()) == WriteResult::Taken;
}

void Owe(HWND window, const std::u16string& own, std::vector<Decoration> written)
{
    if (!IsWindow(window))
        return;
    if (owedTitles.size() >= owedLimit)
        owedTitles.erase(owedTitles.begin());
    owedTitles.push_back({ window, own, std::move(written) });
}

// Tries again to give the owed windows their titles back, all but one.
void SettleOwedTitles(HWND except)
{
    std::vector<OwedTitle> still;
    for (OwedTitle& owed : owedTitles)
        if (owed.window == except || !GiveTitleBack(owed.window, owed.own, owed.written))
            still.push_back(std::move(owed));
    owedTitles = std::move(still);
}

// A window that comes back to the front before it got its title back is
// tracked again with what it was owed.
void TakeBackOwed(HWND window)
{
    for (auto it = owedTitles.begin(); it != owedTitles.end(); ++it) {
        if (it->window != window)
            continue;
        savedTitle = it->own;
        pendingTitles.assign(it->written.rbegin(), it->written.rend());
        owedTitles.erase(it);
        return;
    }
}

}  // namespace

void TrackForegroundWindow()
{
    HWND foreground = GetForegroundWindow();
    SettleOwedTitles(foreground);
    if (foreground != trackedWindow) {
        if (trackedWindow && !GiveTitleBack(trackedWindow, savedTitle, WrittenToTracked()))
            Owe(trackedWindow, savedTitle, WrittenToTracked());
        pendingTitles.clear();
        TakeBackOwed(foreground);
    }

    ReadTitleInto(foreground, windowTitle);
    trackedWindow = foreground;
    // The usual tick: the window still shows what the last tick wrote.
    if (!windowTitle.empty() && windowTitle.size() == composedLength
        && std::memcmp(windowTitle.data(), composedTitle, composedLength * sizeof(char16_t)) == 0)
        return;
    savedTitle = OwnTitleOf(windowTitle, savedTitle, WrittenToTracked());
}

void RestoreTrackedTitle()
{
    SettleOwedTitles(trackedWindow);
    GiveTitleBack(trackedWindow, savedTitle, WrittenToTracked());
    trackedWindow = nullptr;
    pendingTitles.clear();
    owedTitles.clear();
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
    HWND target = trackedWindow;
    if (!target)
        return;
    char16_t composition[titleCapacity];
    size_t length = ComposeTitle(composition, titleCapacity, savedTitle, clockText, todayName.c_str(),
                 countdownActive != 0, placeBefore != 0,
                 countdownRemaining.c_str(), countdownNote.c_str());
    static std::u16string clock;   // its room is reused from tick to tick
    WidenCp1250Into(clockText, clock);

    WriteResult written = WriteTitle(target, composition);
    if (target != trackedWindow)
        return;   // another tick has moved on meanwhile
    if (written == WriteResult::Taken) {
        std::char_traits<char16_t>::copy(composedTitle, composition, length + 1);
        composedLength = length;
        writtenClockText = clock;
        pendingTitles.clear();   // the owner has answered every earlier one too
    } else if (written == WriteResult::Unanswered) {
        if (pendingTitles.size() >= pendingLimit)
            pendingTitles.erase(pendingTitles.begin());
        pendingTitles.push_back({ composition, clock });
    }
}
