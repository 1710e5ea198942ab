// The hidden main window: it ticks once a second, takes the placement
// commands, ignores unknown ones and ends the loop when destroyed.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "support/mainwindow.h"

using namespace testsupport;

namespace {

TEST(WineHarness, RunsWithTheCzechAnsiCodePage)
{
    // The program's own texts are Windows-1250; the harness must give the
    // Czech system a user of the program has.
    EXPECT_EQ(GetACP(), 1250u);
}

std::vector<UINT> defaultHandled;
LRESULT WINAPI WatchedDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    defaultHandled.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST_F(MainWindowTest, StaysHiddenAndTicksAboutOnceASecond)
{
    readLocalTime = CountingClock;
    MakeMainWindow();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(NarrowTextOf(main), "Tikavo_T");
    EXPECT_EQ(ClassNameOf(main), "Tikavo_T 1.0.8.0");
    // The settings have their start values once the window exists.
    EXPECT_STREQ(TimerSettings.alarmFlag, "No");
    EXPECT_STREQ(TimerSettings.countdownDuration, "00:01:00");

    DWORD start = GetTickCount();
    ASSERT_TRUE(PumpUntil([] { return ticksSeen >= 2; }, 3500)) << "ticks seen: " << ticksSeen;
    DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 1500u) << "two ticks came too fast for a one-second timer";
}

TEST_F(MainWindowTest, PlacementCommandsSwitchAndUnknownCommandsAreIgnored)
{
    MakeMainWindow(false);
    defaultWindowProc = WatchedDefault;
    EXPECT_EQ(placeBefore, 0);
    EXPECT_EQ(SendMessageA(main, WM_COMMAND, IDM_PLACE_BEFORE, 0), 0);
    EXPECT_EQ(placeBefore, 1);
    EXPECT_EQ(SendMessageA(main, WM_COMMAND, IDM_PLACE_BEFORE, 0), 0);
    EXPECT_EQ(placeBefore, 1);
    defaultHandled.clear();
    EXPECT_EQ(SendMessageA(main, WM_COMMAND, 4242, 0), 0);
    EXPECT_EQ(SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_PLACE_AFTER, 1), 0), 0) << "an accelerator's command";
    EXPECT_TRUE(defaultHandled.empty()) << "a command went on to the default procedure";
    EXPECT_EQ(placeBefore, 0);
    EXPECT_TRUE(IsWindow(main));
}

TEST_F(MainWindowTest, DestroyingTheWindowEndsTheMessageLoopWithCodeZero)
{
    MakeMainWindow(false);
    DestroyWindow(main);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
}

}  // namespace
