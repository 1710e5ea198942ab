// The title-bar clock on real windows: what only real windows and their
// owners' threads show (the title rules themselves are tested against a
// model desktop in the core tests).
// Runs under code pages 1250 and 1252.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <vector>

#include "res/resource.h"
#include "support/mainwindow.h"
#include "titleclock/titleclock.h"

using namespace testsupport;

namespace {

// What a tick on Sunday 6 December 2026 at 22:48:<second> writes for own, by
// the program's own writer, as a window of the system's code page shows it (an
// ANSI one on an English system has no "ě": the text goes through its code page and back).
std::wstring Decorated(const std::wstring& own, int second, bool before = false, bool ansi = false)
{
    char clock[80], narrow[4000];
    wchar_t back[4000];
    FormatClock(clock, sizeof clock, DayName(0), 6, 12, 2026, 22, 48, second);
    std::u16string title;
    ComposeTitle(title, std::u16string(own.begin(), own.end()), { clock, "Mikul\xE1\x9A", nullptr, u"", before });
    std::wstring shown(title.begin(), title.end());
    WideCharToMultiByte(CP_ACP, 0, shown.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    MultiByteToWideChar(CP_ACP, 0, narrow, -1, back, 4000);
    return ansi ? back : shown;
}

// The title-bar steps of that tick, in the tick's order; between its first
// step and the others, what the test gives (a box, say).
void Tick(int second, bool before = false, const std::function<void()>& between = [] {})
{
    TrackForegroundWindow();
    between();
    char szDay[dayNameSize];
    ChooseDayName(0, szDay);
    FormatClockText(At(2026, 12, 6, 22, 48, second, 0), szDay, true);
    ComposeAndWriteTitle({ clockText, "Mikul\xE1\x9A", nullptr, u"", before });
}

class TitleClockTest : public MainWindowTest {};

TEST(TitleClockLocale, RunsUnderTheCodePageOfItsRun)
{
    // Czech (1250) in the ordinary run, English (1252) in the second one.
    const char* expected = std::getenv("TIKAVO_EXPECTED_ACP");
    EXPECT_EQ(GetACP(), expected ? static_cast<UINT>(std::atoi(expected)) : 1250u);
}

// Windows of their own kind: an ANSI one (its procedure is narrow, so it
// keeps its title in the system's code page), and one that adds its name to
// every title it is given.
LRESULT CALLBACK AnsiProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
LRESULT CALLBACK EditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && lParam) {
        std::wstring text = reinterpret_cast<const wchar_t*>(lParam) + std::wstring(L" - Editor");
        return DefWindowProcW(hwnd, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST_F(TitleClockTest, WindowsThatChangeTheirTitlesKeepExactlyTheirOwn)
{
    TestWindow ansi(L""), editor(L""), other(L"Jin\u00E9 okno");
    SetWindowLongPtrA(ansi.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AnsiProc));
    SetWindowLongPtrW(editor.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc));
    ASSERT_FALSE(IsWindowUnicode(ansi.hwnd()));
    SetWindowTextW(ansi.hwnd(), L"\u00DA\u010Detnictv\u00ED \u2013 p\u0159ehled");   // Účetnictví – přehled
    SetWindowTextW(editor.hwnd(), L"Dopis \u0159editeli");
    int second = 0;
    for (TestWindow* window : { &ansi, &editor }) {
        const std::wstring own = InternalTextOf(window->hwnd()), added = window == &editor ? L" - Editor" : L"";
        ASSERT_TRUE(window->BringToFront());
        for (bool before : { false, true, false }) {
            Tick(second, before);
            EXPECT_EQ(InternalTextOf(window->hwnd()),
                      Decorated(own.substr(0, own.size() - added.size()), second++, before, window == &ansi) + added);
        }
        ASSERT_TRUE(other.BringToFront());
        Tick(second++);
        EXPECT_EQ(InternalTextOf(window->hwnd()), own);
        ASSERT_TRUE(window->BringToFront());
        Tick(second++);
        ASSERT_NE(InternalTextOf(window->hwnd()), own);
        RestoreTrackedTitle();
        EXPECT_EQ(InternalTextOf(window->hwnd()), own);
    }
}

TEST_F(TitleClockTest, AWindowWhoseOwnerIsBusyKeepsItsTitleAndTheClockGoesOn)
{
    ThreadWindow stuck(L"Zamrzl\u00E9 okno");
    TestWindow other(L"Dopis");
    ASSERT_TRUE(stuck.BringToFront());
    Tick(0);
    ASSERT_EQ(InternalTextOf(stuck.hwnd()), Decorated(L"Zamrzl\u00E9 okno", 0));
    // Its owner stops answering until the test lets it go on; the ticks meanwhile
    // write into it once at most and go on with the next window.
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> busy{ 0 };
    stuck.Run([&] { busy = 1, WaitForSingleObject(release, 30000), busy = 2; });
    ASSERT_TRUE(PumpUntil([&] { return busy == 1; }, 5000)) << "the owner never got busy";
    Tick(1);
    Tick(2);
    ASSERT_TRUE(other.BringToFront());
    Tick(3);
    EXPECT_EQ(other.Title(), Decorated(L"Dopis", 3));
    EXPECT_EQ(busy, 1) << "the ticks waited for the busy owner";
    // Once its owner answers again, the window gets its own title back.
    SetEvent(release);
    ASSERT_TRUE(PumpUntil([&] { return busy == 2; }, 5000)) << "the owner never went on";
    for (int second = 4; second < 10 && InternalTextOf(stuck.hwnd()) != L"Zamrzl\u00E9 okno"; ++second)
        Tick(second);
    EXPECT_EQ(InternalTextOf(stuck.hwnd()), L"Zamrzl\u00E9 okno");
    RestoreTrackedTitle();
    EXPECT_EQ(other.Title(), L"Dopis");
    CloseHandle(release);
}

// Windows whose owners stop answering once decorated: at the exit they are
// waited for together, about two seconds in all, not a second each per round.
TEST_F(TitleClockTest, TheExitWaitsForOwnersThatDoNotAnswerAboutTwoSecondsInAll)
{
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> busy{ 0 };
    std::vector<std::unique_ptr<ThreadWindow>> stuck;
    for (int i = 0; i < 4; ++i) {
        stuck.push_back(std::make_unique<ThreadWindow>(L"Okno " + std::to_wstring(i)));
        ASSERT_TRUE(stuck.back()->BringToFront());
        Tick(i);
        stuck.back()->Run([&] { ++busy, WaitForSingleObject(release, 30000); });
    }
    ASSERT_TRUE(PumpUntil([&] { return busy == 4; }, 5000)) << "the owners never got busy";
    TestWindow other(L"Dopis");
    ASSERT_TRUE(other.BringToFront());
    Tick(10);
    DWORD start = GetTickCount();
    RestoreTrackedTitle();
    DWORD took = GetTickCount() - start;
    SetEvent(release);
    EXPECT_LT(took, 4000u) << "the exit waited " << took << " ms for four owners";
    EXPECT_EQ(other.Title(), L"Dopis");
    CloseHandle(release);
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
        if (OpenMenuWindow())
            ++menus, menusInsideTheTick += ticking, EndMenu();
    }, 20);
    ticking = true;
    Tick(35);
    ticking = false;
    ASSERT_TRUE(PumpUntil([&] { return menus > 0; }, 5000)) << "the menu did not open after the tick";
    EXPECT_EQ(menusInsideTheTick, 0) << "the menu opened inside the title write";
    // The window took the late write; it keeps its own title all along.
    ASSERT_TRUE(foreign.BringToFront());
    Tick(36);
    EXPECT_EQ(InternalTextOf(foreign.hwnd()), Decorated(L"Ciz\u00ED okno", 36));
    TestWindow other(L"Dopis");
    ASSERT_TRUE(other.BringToFront());
    Tick(37);
    EXPECT_EQ(InternalTextOf(foreign.hwnd()), L"Ciz\u00ED okno");
}

TEST_F(TitleClockTest, ATickInsideABoxOfAnEarlierTickLeavesEveryTitleIntact)
{
    // A tick rings: its box comes to the front and further ticks run inside
    // it. When the box closes, the held tick finishes with the time it read
    // before; the window's own title survives all of it.
    TestWindow a(L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    Tick(35);
    ASSERT_EQ(a.Title(), Decorated(L"Dokument", 35));

    int second = 37;
    std::vector<std::wstring> seenInside;
    std::wstring boxTitle;
    ModalDriver boxes("the ringing box to be closed", 10000, [&] {
        if (boxes.open().empty())
            return;
        Tick(second++);
        seenInside.push_back(a.Title());
        boxTitle = WideTextOf(boxes.open().back());
        if (second == 40)
            PressOk(boxes.open().back());
    });
    // The held tick: step 1, the box, then steps 6 and 8.
    Tick(36, false, [] { MessageBoxA(nullptr, "Zvon\xED", "Tikavo_T", MB_OK); });

    ASSERT_EQ(seenInside.size(), 3u);
    for (const std::wstring& title : seenInside)
        EXPECT_EQ(title, L"Dokument") << "the window is not in front while the box is";
    // The box in front was decorated like any window; the held tick's write
    // went to the box, which is gone, and left no trace.
    EXPECT_EQ(boxTitle, Decorated(L"Tikavo_T", 39));
    EXPECT_EQ(a.Title(), L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    Tick(41);
    EXPECT_EQ(a.Title(), Decorated(L"Dokument", 41));
    RestoreTrackedTitle();
    EXPECT_EQ(a.Title(), L"Dokument");
}

TEST_F(TitleClockTest, LongTitlesComeBackWholeAndOverlongOnesAreLeftAlone)
{
    std::wstring own;
    for (int i = 0; i < 1800; ++i)
        own += static_cast<wchar_t>(i % 50 == 49 ? L'\u0159' : L'a' + i % 26);
    const std::wstring overlong(maxTitleLength + 100, L'x');
    TestWindow a(own), b(overlong);
    ASSERT_TRUE(a.BringToFront());
    Tick(35);
    EXPECT_EQ(a.Title(), Decorated(own, 35));
    ASSERT_TRUE(b.BringToFront());
    Tick(36);
    EXPECT_EQ(a.Title(), own);
    EXPECT_EQ(b.Title(), overlong);
    RestoreTrackedTitle();
    EXPECT_EQ(b.Title(), overlong);
}

}  // namespace
