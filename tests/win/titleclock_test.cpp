// The title-bar clock on real windows: it follows the foreground window,
// decorates it and gives every window its own title back, exactly.
#include <gtest/gtest.h>

#include "app/app.h"
#include "namedays/namelist.h"
#include "support/winsupport.h"
#include "timers/countdown.h"
#include "titleclock/titleclock.h"

using namespace testsupport;

namespace {

SYSTEMTIME At(WORD dayOfWeek, WORD day, WORD month, WORD year, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME t = {};
    t.wDayOfWeek = dayOfWeek;
    t.wDay = day;
    t.wMonth = month;
    t.wYear = year;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

// Sunday 6 December 2026 at 22:48:<second>.
SYSTEMTIME Sunday(WORD second) { return At(0, 6, 12, 2026, 22, 48, second); }

std::wstring SundayClock(int second)
{
    wchar_t text[64];
    wsprintfW(text, L"  * Ned\u011Ble - 6.12.2026 - 22:48:%02d * ", second);
    return text;
}

// The title-bar steps of one tick, in the tick's order (the countdown,
// alarm and name-day steps are not the business of these tests).
void Tick(const SYSTEMTIME& now)
{
    TrackForegroundWindow();
    char szDay[10];
    FormatTickTexts(now, szDay);
    FormatClockText(now, szDay);
    ComposeAndWriteTitle();
}

class TitleClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        todayName.clear();
        countdownActive = 0;
        placeBefore = 0;
    }
};

TEST_F(TitleClockTest, SwitchingWindowsGivesTheFirstItsTitleBackAndDecoratesTheNextOnTheSameTick)
{
    TestWindow a(L"Dokument");
    TestWindow b(L"Dopis");
    todayName = "Mikul\xE1\x9A";   // Mikuláš
    ASSERT_TRUE(a.BringToFront());

    Tick(Sunday(35));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(35) + L"Mikul\u00E1\u0161 *");
    Tick(Sunday(36));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(36) + L"Mikul\u00E1\u0161 *");
    EXPECT_EQ(b.Title(), L"Dopis");

    ASSERT_TRUE(b.BringToFront());
    Tick(Sunday(37));
    EXPECT_EQ(a.Title(), L"Dokument");
    EXPECT_EQ(b.Title(), L"Dopis" + SundayClock(37) + L"Mikul\u00E1\u0161 *");

    // And back: B gets its own title, A is decorated with its own, not with
    // anything left over from B.
    ASSERT_TRUE(a.BringToFront());
    Tick(Sunday(38));
    EXPECT_EQ(b.Title(), L"Dopis");
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(38) + L"Mikul\u00E1\u0161 *");

    // The owner changes the title of the decorated window: the new title
    // is its own from now on and is what it gets back.
    SetWindowTextW(a.hwnd(), L"Jin\u00FD dokument");
    Tick(Sunday(39));
    EXPECT_EQ(a.Title(), L"Jin\u00FD dokument" + SundayClock(39) + L"Mikul\u00E1\u0161 *");
    ASSERT_TRUE(b.BringToFront());
    Tick(Sunday(40));
    EXPECT_EQ(a.Title(), L"Jin\u00FD dokument");
}

TEST_F(TitleClockTest, DestroyingTheMainWindowGivesTheTrackedWindowItsTitleBack)
{
    TestWindow a(L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    appInstance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(RegisterMainWindowClass());
    HWND main = CreateMainWindow();
    ASSERT_NE(main, nullptr);

    Tick(Sunday(35));
    Tick(Sunday(36));
    ASSERT_EQ(a.Title(), L"Dokument" + SundayClock(36) + L" *");

    DestroyWindow(main);
    EXPECT_EQ(a.Title(), L"Dokument");
    MSG msg = {};
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(TitleClockTest, TitlesOutsideWindows1250ComeBackExactly)
{
    const std::wstring own = Wide("Zpr\xC3\xA1vy \xF0\x9F\x99\x82 \xE2\x80\x94 \xD0\x9D\xD0\xBE\xD0\xB2\xD0\xBE\xD1\x81\xD1\x82\xD0\xB8");
    ASSERT_EQ(own, L"Zpr\u00E1vy \U0001F642 \u2014 \u041D\u043E\u0432\u043E\u0441\u0442\u0438");
    TestWindow a(own);
    TestWindow b(L"Dopis");
    todayName = "Ji\xF8\xED";   // Jiří
    ASSERT_TRUE(a.BringToFront());

    for (WORD second = 35; second < 38; ++second) {
        Tick(Sunday(second));
        EXPECT_EQ(a.Title(), own + SundayClock(second) + L"Ji\u0159\u00ED *") << Utf8(a.Title());
    }
    placeBefore = 1;
    Tick(Sunday(38));
    EXPECT_EQ(a.Title(), SundayClock(38) + L"Ji\u0159\u00ED * " + own) << Utf8(a.Title());

    ASSERT_TRUE(b.BringToFront());
    Tick(Sunday(39));
    EXPECT_EQ(a.Title(), own) << Utf8(a.Title());
}

TEST_F(TitleClockTest, ThePlacementSwitchTakesEffectOnTheNextTickOnly)
{
    TestWindow a(L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    Tick(Sunday(35));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(35) + L" *");

    placeBefore = 1;
    PumpFor(50);
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(35) + L" *") << "redrawn before the next tick";
    Tick(Sunday(36));
    EXPECT_EQ(a.Title(), SundayClock(36) + L" * Dokument");
    Tick(Sunday(37));
    EXPECT_EQ(a.Title(), SundayClock(37) + L" * Dokument");

    placeBefore = 0;
    Tick(Sunday(38));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(38) + L" *");

    // A countdown in either placement, and back to the plain form when it ends.
    countdownActive = 1;
    countdownRemaining = "00:04:59";
    countdownNote = "\xC8" "aj";   // Čaj
    Tick(Sunday(39));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(39) + L" * Za 00:04:59  \u010Caj");
    placeBefore = 1;
    Tick(Sunday(40));
    EXPECT_EQ(a.Title(), SundayClock(40) + L" * Za 00:04:59 \u010Caj * Dokument ");
    countdownActive = 0;
    Tick(Sunday(41));
    EXPECT_EQ(a.Title(), SundayClock(41) + L" * Dokument");
}

TEST_F(TitleClockTest, WithNoWindowInFrontThePreviousIsRestoredAndNothingDecorated)
{
    TestWindow a(L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    Tick(Sunday(35));
    ASSERT_EQ(a.Title(), L"Dokument" + SundayClock(35) + L" *");

    // Hiding the only window leaves no window in front.
    ShowWindow(a.hwnd(), SW_HIDE);
    ASSERT_TRUE(PumpUntil([] { return GetForegroundWindow() == nullptr; }, 2000))
        << "foreground: " << GetForegroundWindow();
    Tick(Sunday(36));
    EXPECT_EQ(a.Title(), L"Dokument");
    EXPECT_EQ(trackedWindow, nullptr);
    Tick(Sunday(37));
    EXPECT_EQ(a.Title(), L"Dokument");

    // The next window in front is decorated from its own title.
    ShowWindow(a.hwnd(), SW_SHOW);
    ASSERT_TRUE(a.BringToFront());
    Tick(Sunday(38));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(38) + L" *");
}

TEST_F(TitleClockTest, ALongTitleIsGivenBackWholeAfterSeveralTicks)
{
    std::wstring own;
    for (int i = 0; i < 600; ++i)
        own += static_cast<wchar_t>(i % 50 == 49 ? L'\u0159' : L'a' + i % 26);
    TestWindow a(own);
    TestWindow b(L"Dopis");
    todayName = "Mikul\xE1\x9A";
    ASSERT_TRUE(a.BringToFront());
    for (WORD second = 35; second < 39; ++second) {
        Tick(Sunday(second));
        EXPECT_EQ(a.Title(), own + SundayClock(second) + L"Mikul\u00E1\u0161 *");
    }
    ASSERT_TRUE(b.BringToFront());
    Tick(Sunday(39));
    EXPECT_EQ(a.Title().size(), 600u);
    EXPECT_EQ(a.Title(), own);

    // Longer than a decorated title can be: the decoration is cut to 999
    // characters, the own title still comes back whole.
    std::wstring longer = own + own + own;
    SetWindowTextW(a.hwnd(), longer.c_str());
    ASSERT_TRUE(a.BringToFront());
    for (WORD second = 40; second < 43; ++second) {
        Tick(Sunday(second));
        EXPECT_EQ(a.Title(), longer.substr(0, 999));
    }
    ASSERT_TRUE(b.BringToFront());
    Tick(Sunday(43));
    EXPECT_EQ(a.Title().size(), 1800u);
    EXPECT_EQ(a.Title(), longer);
}

TEST_F(TitleClockTest, ATickInsideABoxOfAnEarlierTickLeavesEveryTitleIntact)
{
    // A tick rings: its box comes to the front and further ticks run inside
    // it. When the box closes, the held tick finishes with the time it read
    // before; the window's own title survives all of it.
    TestWindow a(L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    Tick(Sunday(35));
    ASSERT_EQ(a.Title(), L"Dokument" + SundayClock(35) + L" *");

    BoxRecorder boxes;
    WORD second = 37;
    std::vector<std::wstring> seenInside;
    std::wstring boxTitle;
    ThreadTicker ticker(100, [&] {
        if (boxes.open().empty())
            return;
        Tick(Sunday(second++));
        seenInside.push_back(a.Title());
        boxTitle = WideTextOf(boxes.open().back());
        if (second == 40)
            PressOk(boxes.open().back());
    });

    // The held tick: steps 1 and 3, the box, then steps 6 and 8.
    SYSTEMTIME held = Sunday(36);
    TrackForegroundWindow();
    char szDay[10];
    FormatTickTexts(held, szDay);
    MessageBoxA(nullptr, "Zvoní", "Tikavo_T", MB_OK);
    FormatClockText(held, szDay);
    ComposeAndWriteTitle();

    ASSERT_EQ(seenInside.size(), 3u);
    for (const std::wstring& title : seenInside)
        EXPECT_EQ(title, L"Dokument") << "the window is not in front while the box is";
    // The box in front was decorated like any window; the held tick's write
    // went to the box, which is gone, and left no trace.
    EXPECT_EQ(boxTitle, L"Tikavo_T" + SundayClock(39) + L" *");
    EXPECT_EQ(a.Title(), L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    Tick(Sunday(41));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(41) + L" *");
    TestWindow b(L"Dopis");
    ASSERT_TRUE(b.BringToFront());
    Tick(Sunday(42));
    EXPECT_EQ(a.Title(), L"Dokument");
}

}  // namespace
