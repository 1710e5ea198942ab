// The title-bar clock on real windows: it follows the foreground window,
// decorates it and gives every window its own title back, exactly.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "namedays/namelist.h"
#include "res/resource.h"
#include "support/mainwindow.h"
#include "timers/countdown.h"
#include "titleclock/titleclock.h"

using namespace testsupport;

namespace {

// Sunday 6 December 2026 at 22:48:<second>.
SYSTEMTIME Sunday(int second) { return At(2026, 12, 6, 22, 48, second, 0); }

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

class TitleClockTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        todayName.clear();
        countdownActive = 0;
        placeBefore = 0;
    }
    // Destroys the main window as the exit command does: every title is given back.
    void Exit()
    {
        DestroyWindow(main);
        MSG quit;
        EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
};

// How many clock texts of 6 December 2026 a title shows.
int ClockTexts(const std::wstring& title)
{
    int count = 0;
    for (size_t at = title.find(L" - 6.12.2026 - "); at != std::wstring::npos; at = title.find(L" - 6.12.2026 - ", at + 1))
        ++count;
    return count;
}

TEST(TitleClockLocale, RunsUnderTheCodePageOfItsRun)
{
    // Czech (1250) in the ordinary run, English (1252) in the second one.
    const char* expected = std::getenv("TIKAVO_EXPECTED_ACP");
    EXPECT_EQ(GetACP(), expected ? static_cast<UINT>(std::atoi(expected)) : 1250u);
}

// Windows that change the text they are given, as other programs' windows do.
LRESULT CALLBACK CappingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && lParam) {
        std::wstring text(reinterpret_cast<const wchar_t*>(lParam));
        return DefWindowProcW(hwnd, message, wParam, reinterpret_cast<LPARAM>(text.substr(0, 60).c_str()));
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && lParam) {
        std::wstring text = reinterpret_cast<const wchar_t*>(lParam) + std::wstring(L" - Editor");
        return DefWindowProcW(hwnd, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// An ANSI window (its class and procedure narrow): it keeps its title in the
// system's code page.
HWND AnsiWindow(const char* title)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = "TikavoAnsiWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                120, 120, 500, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowTextW(hwnd, L"\u00DA\u010Detnictv\u00ED \u2013 p\u0159ehled");   // Účetnictví – přehled
    return hwnd;
}

HWND WideWindow(const wchar_t* className, WNDPROC proc, const wchar_t* title)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           140, 140, 500, 200, nullptr, nullptr, wc.hInstance, nullptr);
}

bool ToFront(HWND hwnd)
{
    SetForegroundWindow(hwnd);
    return PumpUntil([hwnd] { return GetForegroundWindow() == hwnd; }, 2000);
}

TEST_F(TitleClockTest, WindowsThatChangeTheirTitlesKeepExactlyTheirOwn)
{
    // An ANSI window (on an English system "Neděle" comes back as "Nedele"),
    // one that keeps 60 characters (the date falls off behind a long title)
    // and one that adds its name to every title.
    struct Case { const char* what; HWND hwnd; bool wholeClock; };
    Case cases[] = {
        { "ANSI", AnsiWindow(""), true },
        { "capped", WideWindow(L"TikavoCappingWindow", CappingProc, L"Rozpo\u010Det na rok 2027 - n\u00E1vrh pro veden\u00ED"), false },
        { "editor", WideWindow(L"TikavoEditorWindow", EditorProc, L""), true },
    };
    SetWindowTextW(cases[2].hwnd, L"Dopis \u0159editeli");   // its owner's title, with the window's name
    TestWindow other(L"Jin\u00E9 okno");
    todayName = "Mikul\xE1\x9A";
    int second = 0;
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring own = InternalTextOf(c.hwnd);
        ASSERT_TRUE(ToFront(c.hwnd));
        for (int tick = 0; tick < 10; ++tick) {
            placeBefore = tick >= 5;
            Tick(Sunday(second++));
            std::wstring title = InternalTextOf(c.hwnd);
            EXPECT_EQ(ClockTexts(title), c.wholeClock || placeBefore ? 1 : 0) << Utf8(title);
            if (!placeBefore)
                EXPECT_EQ(title.compare(0, own.size(), own), 0) << Utf8(title);
        }
        ASSERT_TRUE(other.BringToFront());
        Tick(Sunday(second++));
        EXPECT_EQ(InternalTextOf(c.hwnd), own) << Utf8(InternalTextOf(c.hwnd));
        // Back in front, then the exit.
        ASSERT_TRUE(ToFront(c.hwnd));
        Tick(Sunday(second++));
        Tick(Sunday(second++));
        ASSERT_NE(InternalTextOf(c.hwnd), own);
        RestoreTrackedTitle();
        EXPECT_EQ(InternalTextOf(c.hwnd), own) << Utf8(InternalTextOf(c.hwnd));
        DestroyWindow(c.hwnd);
    }
}

// Asked to take a title for the first time, this window's owner first passes
// a right-button press on the tray icon to the main window and waits until
// that is handled.
HWND clickTarget = nullptr;
LRESULT CALLBACK ClickingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && clickTarget) {
        HWND target = clickTarget;
        clickTarget = nullptr;
        SendMessageW(target, trayCallbackMessage, 1, WM_RBUTTONDOWN);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(TitleClockTest, ATrayClickSentFromInsideATitleWriteOpensTheMenuOnlyAfterTheWrite)
{
    MakeMainWindow(false);
    ThreadWindow foreign(L"Ciz\u00ED okno", ClickingProc);
    clickTarget = main;
    ASSERT_TRUE(foreign.BringToFront());
    bool ticking = false;
    int menus = 0, menusInsideTheTick = 0;
    ModalDriver closer("the tray menu to be closed", 10000, [&] {
        if (!OpenMenuWindow())
            return;
        ++menus;
        menusInsideTheTick += ticking;
        EndMenu();
    }, 20);
    ticking = true;
    Tick(Sunday(35));
    ticking = false;
    ASSERT_TRUE(PumpUntil([&] { return menus > 0; }, 3000)) << "the menu did not open after the tick";
    EXPECT_EQ(menusInsideTheTick, 0) << "the menu opened inside the title write";

    // The window took the late write; it keeps its own title all along.
    ASSERT_TRUE(foreign.BringToFront());
    Tick(Sunday(36));
    EXPECT_EQ(InternalTextOf(foreign.hwnd()), L"Ciz\u00ED okno" + SundayClock(36) + L" *");
    TestWindow other(L"Dopis");
    ASSERT_TRUE(other.BringToFront());
    Tick(Sunday(37));
    EXPECT_EQ(InternalTextOf(foreign.hwnd()), L"Ciz\u00ED okno");
    Exit();
    EXPECT_EQ(other.Title(), L"Dopis");
}

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
    MakeMainWindow(false);

    Tick(Sunday(35));
    Tick(Sunday(36));
    ASSERT_EQ(a.Title(), L"Dokument" + SundayClock(36) + L" *");

    Exit();
    EXPECT_EQ(a.Title(), L"Dokument");
}

TEST_F(TitleClockTest, ThePlacementSwitchTakesEffectOnTheNextTickOnly)
{
    TestWindow a(L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    MakeMainWindow(false);
    Tick(Sunday(35));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(35) + L" *");

    EXPECT_EQ(SendMessageW(main, WM_COMMAND, IDM_PLACE_BEFORE, 0), 0);
    EXPECT_EQ(placeBefore, 1);
    PumpFor(50);
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(35) + L" *") << "redrawn before the next tick";
    Tick(Sunday(36));
    EXPECT_EQ(a.Title(), SundayClock(36) + L" * Dokument");
    Tick(Sunday(37));
    EXPECT_EQ(a.Title(), SundayClock(37) + L" * Dokument");

    EXPECT_EQ(SendMessageW(main, WM_COMMAND, IDM_PLACE_AFTER, 0), 0);
    EXPECT_EQ(a.Title(), SundayClock(37) + L" * Dokument") << "redrawn before the next tick";
    Tick(Sunday(38));
    EXPECT_EQ(a.Title(), L"Dokument" + SundayClock(38) + L" *");

    // A countdown in either placement, and back to the plain form when it ends.
    countdownActive = 1;
    countdownRemaining = "00:04:59";
    countdownNote = u"\u010Caj";   // Čaj
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

    int second = 37;
    std::vector<std::wstring> seenInside;
    std::wstring boxTitle;
    ModalDriver boxes("the ringing box to be closed", 10000, [&] {
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
