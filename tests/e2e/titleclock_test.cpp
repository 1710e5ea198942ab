// The title-bar clock as a user sees it: the real program decorates the
// front window of another process and gives every title back exactly.
// Runs under code pages 1250 and 1252.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/program.h"
#include "support/winsupport.h"
#include "common/cp1250.h"
#include "titleclock/clocktext.h"

using namespace testsupport;

namespace {

// The clock text of a moment, by the program's own writer.
std::wstring ClockOf(const SYSTEMTIME& t, bool seconds = true)
{
    char clock[80];
    FormatClock(clock, sizeof clock, DayName(t.wDayOfWeek), t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute, t.wSecond,
                seconds);
    std::u16string wide;
    AppendCp1250(wide, clock);
    return std::wstring(wide.begin(), wide.end());
}

// Decorated behind the own title, in any second, with any name: the clock
// text's start and the close the form has behind it.
bool DecoratedBehind(const std::wstring& title, const std::wstring& own)
{
    std::string_view lead(clockForms[1], 4), close(decorationForms[0][0] + 1);
    return StartsWith(title, own + std::wstring(lead.begin(), lead.end())) && EndsWith(title, std::wstring(close.begin(), close.end()))
        && title.size() > own.size() + 30;
}

TEST(TitleClockE2E, TheFrontWindowShowsTheDayDateAndTimeAndEveryWindowGetsExactlyItsTitleBack)
{
    // A long title of another process, with letters outside Windows-1250; a
    // title an earlier run of the clock left decorated (ended by the task
    // manager, say).
    std::wstring own = L"Zpr\u00E1vy \U0001F642 \u2014 \u041D\u043E\u0432\u043E\u0441\u0442\u0438 ";
    for (int i = 0; i < 600; ++i)
        own += static_cast<wchar_t>(i % 40 == 39 ? L'\u017E' : L'a' + i % 26);
    TestWindow a(own);
    TestWindow b(L"Dopis  * Pond\u011Bl\u00ED - 7.12.2026 - 23:38:58 * Ambro\u017E a Benjam\u00EDn *");
    ASSERT_TRUE(a.BringToFront());
    Program program;
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(10000), nullptr) << "no main window within 10 s";

    // The day, date and time of a second between the start and the title.
    std::wstring title;
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return DecoratedBehind(title = t, own); },
                             10000, "A decorated"));
    GetLocalTime(&after);
    size_t clockEnd = title.find(L" * ", own.size() + 4) + 3;
    std::wstring clock = title.substr(own.size(), clockEnd - own.size());
    ULARGE_INTEGER second, last;
    SystemTimeToFileTime(&before, reinterpret_cast<FILETIME*>(&second));
    SystemTimeToFileTime(&after, reinterpret_cast<FILETIME*>(&last));
    bool shown = false;
    for (second.QuadPart -= second.QuadPart % 10000000; second.QuadPart <= last.QuadPart && !shown;
         second.QuadPart += 10000000) {
        SYSTEMTIME t;
        FileTimeToSystemTime(reinterpret_cast<FILETIME*>(&second), &t);
        shown = clock == ClockOf(t);
    }
    EXPECT_TRUE(shown) << Utf8(clock) << " is no second between " << Utf8(ClockOf(before)) << " and "
                       << Utf8(ClockOf(after));
    EXPECT_EQ(title.find(L'*', clockEnd), title.size() - 1) << "one name and one closing star: " << Utf8(title);

    // A switch gives A its own title back whole; B is shown without the
    // earlier run's clock, and gets its plain title back at the exit.
    ASSERT_TRUE(b.BringToFront());
    EXPECT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return t == own; }, 10000,
                             "A given its own title back whole"));
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dopis"); },
                             10000, "B decorated from its own title"));
    program.Command(IDM_EXIT);
    EXPECT_EQ(program.WaitForExit(10000), 0);
    EXPECT_EQ(b.Title(), L"Dopis");
    EXPECT_EQ(a.Title(), own) << Utf8(a.Title());
}

int titlesGiven;   // to the window whose procedure this is
WNDPROC documentProc;
LRESULT CALLBACK CountingTitles(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    titlesGiven += message == WM_SETTEXT;
    return CallWindowProcW(documentProc, hwnd, message, wParam, lParam);
}

// "Bez sekund": hours and minutes, written into the window in front once a minute.
TEST(TitleClockE2E, WithoutSecondsTheTitleShowsHoursAndMinutesAndChangesOnlyAtTheMinute)
{
    TestWindow doc(L"Dokument");
    documentProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(doc.hwnd(), GWLP_WNDPROC, LONG_PTR(CountingTitles)));
    ASSERT_TRUE(doc.BringToFront());
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(10000), nullptr);
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dokument"); },
                             10000, "decorated"));
    program.Command(IDM_WITHOUT_SECONDS);
    auto thisMinute = [](const std::wstring& t) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return StartsWith(t, L"Dokument" + ClockOf(now, false));
    };
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), thisMinute, 10000, "the clock of this minute without seconds"));
    int written = titlesGiven;
    PumpFor(3500);   // three ticks and more
    EXPECT_LE(titlesGiven - written, 1) << "written more than at the minute's change";
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), thisMinute, 2000, "the clock of this minute without seconds"));
}

}  // namespace
