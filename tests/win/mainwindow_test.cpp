// The hidden main window: it ticks just after every second starts, takes
// the placement commands, ignores unknown ones and ends the loop when
// destroyed.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "res/resource.h"
#include "support/mainwindow.h"
#include "timers/countdown.h"
#include "titleclock/clocktext.h"

using namespace testsupport;

namespace {

TEST(WineHarness, RunsWithTheCzechAnsiCodePage)
{
    // The program's own texts are Windows-1250; the harness must give the
    // Czech system a user of the program has.
    EXPECT_EQ(GetACP(), 1250u);
}

TEST_F(MainWindowTest, StaysHiddenUnderItsNamesWithTheSettingsAtTheirStart)
{
    MakeMainWindow();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(NarrowTextOf(main), "Tikavo_T");
    EXPECT_EQ(ClassNameOf(main), "Tikavo_T 1.0.8.0");
    EXPECT_STREQ(TimerSettings.alarmFlag, "No");
    EXPECT_STREQ(TimerSettings.countdownDuration, "00:01:00");
}

// The ticks' local clock: the system's, shifted so that the first tick falls
// in the middle of a second, and put back 300 ms after the second tick (so
// the next timer message comes early). Every reading is a timer message;
// every tick reads the countdown's millisecond clock once.
LONGLONG shiftMs = 0;
std::vector<LONGLONG> messages, ticks;

LONGLONG ShiftedNowMs()
{
    ULARGE_INTEGER t;
    GetSystemTimeAsFileTime(reinterpret_cast<FILETIME*>(&t));
    return static_cast<LONGLONG>(t.QuadPart / 10000) + shiftMs;
}

SYSTEMTIME SystemTimeOf(LONGLONG ms)
{
    ULARGE_INTEGER t;
    t.QuadPart = static_cast<ULONGLONG>(ms) * 10000;
    SYSTEMTIME st;
    FileTimeToSystemTime(reinterpret_cast<FILETIME*>(&t), &st);
    return st;
}

void WINAPI ShiftedClock(LPSYSTEMTIME now)
{
    if (messages.empty()) {
        shiftMs = 500 - ShiftedNowMs() % 1000;
        SYSTEMTIME alarm = SystemTimeOf(ShiftedNowMs() + 3000);   // rings on the fourth tick
        FormatTimeString(TimerSettings.alarmTime, sizeof TimerSettings.alarmTime, alarm.wHour,
                         alarm.wMinute, alarm.wSecond);
    }
    messages.push_back(ShiftedNowMs());
    *now = SystemTimeOf(messages.back());
}

MMRESULT WINAPI TickCounter(LPMMTIME time, UINT size)
{
    ticks.push_back(messages.back());
    if (ticks.size() == 2)
        shiftMs -= 300;
    return ReadSystemMilliseconds(time, size);
}

TEST_F(MainWindowTest, TicksJustAfterEverySecondStartsAfterAnEarlyMessageAndAroundATickHeldInABox)
{
    readLocalTime = ShiftedClock;
    readMillisecondClock = TickCounter;
    MakeMainWindow();
    MMTIME started = { TIME_MS, {} };
    ReadSystemMilliseconds(&started, sizeof started);
    countdownStartMs = started.u.ms;
    std::strcpy(TimerSettings.countdownDuration, "01:00:00");
    countdownActive = 1;
    std::strcpy(TimerSettings.alarmFlag, "Yes");
    size_t ticksAtRing = 0;
    // Two ticks inside the alarm's box, then closed in the middle of a second.
    ModalDriver boxes("the alarm's box to be closed", 20000, [&] {
        HWND box = boxes.open().empty() ? nullptr : boxes.open().back();
        ticksAtRing = box && !ticksAtRing ? ticks.size() : ticksAtRing;
        if (box && ticks.size() >= ticksAtRing + 2 && ShiftedNowMs() % 1000 >= 500)
            PressOk(box);
    }, 20);
    ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= 8 && boxes.open().empty(); }, 20000))
        << "ticks: " << ticks.size() << ", boxes: " << boxes.boxes().size();
    countdownActive = 0;

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(ticksAtRing, 4u);
    EXPECT_EQ(messages.size() - ticks.size(), 1u) << "the early message is no tick; every other is";
    for (size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i] / 1000, ticks[i - 1] / 1000 + 1) << "tick " << i << ": a second skipped or twice";
        EXPECT_LT(ticks[i] % 1000, 300) << "tick " << i << " came late in its second";
    }
}

std::vector<UINT> defaultHandled;
LRESULT WINAPI WatchedDefault(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    defaultHandled.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
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
