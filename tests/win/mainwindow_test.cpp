// The hidden main window's tick: just after every second starts, whatever
// the timer does, also around a tick held in a box.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "support/mainwindow.h"
#include "timers/countdown.h"
#include "timers/timesettings.h"

using namespace testsupport;

namespace {

// The tick's timer and local clock in step: each timer message reads the
// moment the timer was due -- armed at the last reading with the period the
// program handed it, or a period on when the program left it alone -- moved
// by the script's offset for that message. So the test judges how the
// program arms its timer, whatever the pace of the machine; the system's
// timer only paces the messages, ten times as fast.
struct Message {
    LONGLONG ms;   // the local time the message read
    int offset;    // how far the script moved it from when it was due
};
std::vector<Message> messages;
std::vector<LONGLONG> ticks;   // the readings of the messages that ticked
std::vector<UINT_PTR> armedIds;
LONGLONG dueMs;
UINT armedMs = 1000;

// The third message comes 40 ms early, the fifth 400 ms late.
int OffsetOf(size_t message)
{
    return message == 2 ? -40 : message == 4 ? 400 : 0;
}

LONGLONG MsOf(const SYSTEMTIME& st)
{
    ULARGE_INTEGER t;
    SystemTimeToFileTime(&st, reinterpret_cast<FILETIME*>(&t));
    return static_cast<LONGLONG>(t.QuadPart / 10000);
}

void WINAPI ScriptedClock(LPSYSTEMTIME now)
{
    int offset = OffsetOf(messages.size());
    messages.push_back({ dueMs + offset, offset });
    dueMs += armedMs;   // unless the tick arms the timer anew
    ULARGE_INTEGER t;
    t.QuadPart = static_cast<ULONGLONG>(messages.back().ms) * 10000;
    FileTimeToSystemTime(reinterpret_cast<FILETIME*>(&t), now);
}

UINT_PTR WINAPI ScriptedTimer(HWND hwnd, UINT_PTR id, UINT periodMs, TIMERPROC proc)
{
    armedIds.push_back(id);
    armedMs = periodMs;
    if (!messages.empty())
        dueMs = messages.back().ms + periodMs;   // armed right after the reading
    return SetTimer(hwnd, id, periodMs / 10, proc);
}

// Every tick of a running countdown reads the millisecond clock once; this
// countdown never ends: the clock stands at its start, 0 as the program
// starts.
MMRESULT WINAPI TickMarker(LPMMTIME time, UINT)
{
    ticks.push_back(messages.back().ms);
    time->wType = TIME_MS;
    time->u.ms = 0;
    return TIMERR_NOERROR;
}

TEST_F(MainWindowTest, TicksJustAfterEverySecondStartsAfterAnEarlyMessageAndAroundATickHeldInABox)
{
    // From 06:59:57.500 on; the alarm at 07:00:00 rings on the fourth tick,
    // the late one.
    dueMs = MsOf(At(2026, 5, 15, 6, 59, 57)) + 500;
    appCalls.readLocalTime = ScriptedClock;
    appCalls.armTickTimer = ScriptedTimer;
    timerCalls.readMillisecondClock = TickMarker;
    MakeMainWindow();
    countdownActive = 1;
    std::strcpy(TimerSettings.alarmFlag, "Yes");
    std::strcpy(TimerSettings.alarmTime, "07:00:00");
    size_t ticksAtRing = 0;
    ModalDriver boxes("the alarm's box to be closed after two ticks inside it", 20000, [&] {
        HWND box = boxes.open().empty() ? nullptr : boxes.open().back();
        ticksAtRing = box && !ticksAtRing ? ticks.size() : ticksAtRing;
        if (box && ticks.size() >= ticksAtRing + 2)
            PressOk(box);
    }, 20);
    ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= 9 && boxes.open().empty(); }, 20000))
        << "ticks: " << ticks.size() << ", boxes: " << boxes.boxes().size();
    countdownActive = 0;

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(ticksAtRing, 4u);
    EXPECT_EQ(messages.size() - ticks.size(), 1u) << "the early message is no tick; every other is";
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i] / 1000, ticks[i - 1] / 1000 + 1) << "tick " << i << ": a second skipped or twice";
    for (size_t i = 1; i < messages.size(); ++i)
        if (messages[i].offset == 0)
            EXPECT_EQ(messages[i].ms % 1000, 15) << "message " << i << " was not due just after its second began";
    for (UINT_PTR id : armedIds)
        EXPECT_EQ(id, mainTimerId) << "a second timer";
}

std::vector<UINT> allowed;
BOOL WINAPI RecordingFilter(HWND hwnd, UINT message, DWORD action, PCHANGEFILTERSTRUCT)
{
    allowed.push_back(IsWindow(hwnd) && action == MSGFLT_ALLOW ? message : 0);
    return TRUE;
}

// Run as administrator, its window hears the shell's "TaskbarCreated", a second
// start and the icon's clicks, sent from below (UIPI drops them otherwise; Wine
// has none, so the calls are what is tested).
TEST_F(MainWindowTest, ItsWindowLetsTheShellsASecondStartsAndTheIconsMessagesThroughFromBelow)
{
    appCalls.allowMessage = RecordingFilter;
    MakeMainWindow(false);
    std::vector<UINT> wanted = { RegisterWindowMessageA("TaskbarCreated"),
                                 RegisterWindowMessageW(iconWantedMessageName), trayCallbackMessage };
    std::sort(allowed.begin(), allowed.end()), std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(allowed, wanted);
}

UINT_PTR WINAPI RefusedTimer(HWND, UINT_PTR, UINT, TIMERPROC)
{
    return 0;
}

// So the single-instance mutex goes with the process, and the next start runs.
TEST_F(MainWindowTest, AStartWithoutItsTimerOrItsClassEndsAtOnceWithACodeOtherThanZero)
{
    PostQuitMessage(0);   // a message loop run all the same would end with 0
    appCalls.armTickTimer = RefusedTimer;
    EXPECT_NE(RunMainWindow(), 0) << "no timer";
    EXPECT_EQ(FindWindowA(appNameVersion, nullptr), nullptr) << "a window without its tick";
    appCalls = {};
    EXPECT_NE(RunMainWindow(), 0) << "the class refused (here: registered already)";
}

}  // namespace
