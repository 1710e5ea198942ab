// The title-bar clock as a user sees it: the real program decorates the
// front window of another process and gives every title back exactly.
// Runs under code pages 1250 and 1252.
#include <gtest/gtest.h>

#include <atomic>

#include "res/resource.h"
#include "support/program.h"
#include "support/winsupport.h"
#include "common/cp1250.h"
#include "titleclock/clocktext.h"

using namespace testsupport;

namespace {

// The clock text of this moment, by the program's own writer.
std::wstring ClockNow(bool seconds = true)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char clock[80];
    FormatClock(clock, sizeof clock, DayName(t.wDayOfWeek), t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute, t.wSecond, seconds);
    std::u16string wide;
    AppendCp1250(wide, clock);
    return std::wstring(wide.begin(), wide.end());
}

TEST(TitleClockE2E, TheFrontWindowShowsTheDayDateAndTimeAndEveryWindowGetsExactlyItsTitleBack)
{
    // A long title of another process, with letters outside Windows-1250; a
    // title an earlier run of the clock left decorated (ended by the task
    // manager, say).
    std::wstring own = L"Zpr\u00E1vy \U0001F642 \u2014 \u041D\u043E\u0432\u043E\u0441\u0442\u0438 ";
    for (int i = 0; i < 600; ++i)
        own += static_cast<wchar_t>(i % 40 == 39 ? L'\u017E' : L'a' + i % 26);
    TestWindow a(own), b(L"Dopis  * Pond\u011Bl\u00ED - 7.12.2026 - 23:38:58 * Ambro\u017E a Benjam\u00EDn *");
    ASSERT_TRUE(a.BringToFront());
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(10000), nullptr) << "no main window within 10 s";
    // The day, date and time of this second behind the own title, then one name and its star.
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) {
        std::wstring clocked = own + ClockNow();
        return StartsWith(t, clocked) && t.find(L'*', clocked.size()) == t.size() - 1;
    }, 10000, "A decorated with the clock of this second"));
    // A switch gives A its own title back whole; B is shown without the
    // earlier run's clock, and gets its plain title back at the exit.
    ASSERT_TRUE(b.BringToFront());
    EXPECT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return t == own; }, 10000,
                             "A given its own title back whole"));
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return StartsWith(t, L"Dopis" + ClockNow()); },
                             10000, "B decorated from its own title"));
    program.Command(IDM_EXIT);
    EXPECT_EQ(program.WaitForExit(10000), 0);
    EXPECT_EQ(b.Title(), L"Dopis");
    EXPECT_EQ(a.Title(), own) << Utf8(a.Title());
}

std::atomic<int> titlesGiven;   // to the windows whose procedure this is
LRESULT CALLBACK CountingTitles(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    titlesGiven += message == WM_SETTEXT;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// "Bez sekund": hours and minutes, written into the window in front once a minute.
TEST(TitleClockE2E, WithoutSecondsTheTitleShowsHoursAndMinutesAndChangesOnlyAtTheMinute)
{
    ThreadWindow doc(L"Dokument", CountingTitles);
    ASSERT_TRUE(doc.BringToFront());
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(10000), nullptr);
    program.Command(IDM_WITHOUT_SECONDS);
    auto thisMinute = [](const std::wstring& t) { return StartsWith(t, L"Dokument" + ClockNow(false)); };
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), thisMinute, 10000, "the clock of this minute without seconds"));
    int written = titlesGiven;
    PumpFor(3500);   // three ticks and more
    EXPECT_LE(titlesGiven - written, 1) << "written more than at the minute's change";
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), thisMinute, 2000, "the clock of this minute without seconds"));
}

}  // namespace
