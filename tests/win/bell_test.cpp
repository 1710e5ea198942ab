// The ring: the bell loops while its box is open, ticks go on inside it, and
// a ring from a tick inside the box opens a box of its own.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "app/app.h"
#include "support/winsupport.h"
#include "timers/timers.h"

using namespace testsupport;

namespace {

struct SoundCall {
    std::string sound;   // empty for a stop
    DWORD flags;
    size_t boxesOpen;    // boxes open when the call came
};

std::vector<SoundCall> soundCalls;
BoxRecorder* recorder = nullptr;

BOOL WINAPI RecordingPlayer(LPCSTR sound, HMODULE module, DWORD flags)
{
    soundCalls.push_back({ sound ? sound : "", flags, recorder ? recorder->open().size() : 0 });
    return PlaySoundA(sound, module, flags);
}

class RingBellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        appInstance = GetModuleHandleW(nullptr);
        soundCalls.clear();
        bellSoundPlayer = RecordingPlayer;
        recorder = &boxes;
    }
    void TearDown() override
    {
        recorder = nullptr;
        bellSoundPlayer = PlaySoundA;
    }
    BoxRecorder boxes;
    TestWindow owner{ L"Owner" };
};

TEST_F(RingBellTest, LoopsTheBellWhileTheBoxIsOpenAndTicksGoOnInsideIt)
{
    int ticks = 0;
    ThreadTicker tick(100, [&] { ++ticks; });
    int ticksWhenOpened = -1;
    size_t callsWhileOpen = 0;
    ThreadTicker driver(50, [&] {
        std::vector<HWND> open = boxes.open();
        if (open.empty())
            return;
        if (ticksWhenOpened < 0) {
            ticksWhenOpened = ticks;
            callsWhileOpen = soundCalls.size();
        }
        if (ticks >= ticksWhenOpened + 3)
            PressOk(open.back());
    });

    RingBell(owner.hwnd(), L"Bud\u00EDk zvon\u00ED", L"Alarm");   // "Budík zvoní"

    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "Bud\xEDk zvon\xED");
    EXPECT_EQ(boxes.boxes()[0].caption, "Alarm");
    EXPECT_EQ(boxes.boxes()[0].owner, owner.hwnd());
    EXPECT_GE(ticks, ticksWhenOpened + 3) << "timer messages must keep arriving inside the box";

    ASSERT_EQ(soundCalls.size(), 2u);
    EXPECT_EQ(callsWhileOpen, 1u) << "the bell starts before the box opens";
    EXPECT_EQ(soundCalls[0].sound, "BELL");
    EXPECT_EQ(soundCalls[0].flags, static_cast<DWORD>(SND_RESOURCE | SND_ASYNC | SND_LOOP));
    EXPECT_EQ(soundCalls[0].boxesOpen, 0u);
    EXPECT_EQ(soundCalls[1].sound, "");
    EXPECT_EQ(soundCalls[1].flags, static_cast<DWORD>(SND_PURGE));
    EXPECT_EQ(soundCalls[1].boxesOpen, 0u) << "the bell stops only once the box is closed";
}

TEST_F(RingBellTest, ARingFromATickInsideTheBoxOpensASecondBox)
{
    bool innerStarted = false, innerReturned = false;
    size_t maxOpen = 0;
    ThreadTicker tick(100, [&] {
        if (boxes.open().size() == 1 && !innerStarted) {
            innerStarted = true;
            RingBell(owner.hwnd(), L"inner", L"Inner");
            innerReturned = true;
        }
    });
    ThreadTicker driver(50, [&] {
        std::vector<HWND> open = boxes.open();
        maxOpen = std::max(maxOpen, open.size());
        if (open.size() == 2)
            PressOk(open.back());
        else if (open.size() == 1 && innerReturned)
            PressOk(open.back());
    });

    RingBell(owner.hwnd(), L"outer", L"Outer");

    EXPECT_TRUE(innerReturned);
    EXPECT_EQ(maxOpen, 2u);
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text, "outer");
    EXPECT_EQ(boxes.boxes()[1].text, "inner");
    EXPECT_EQ(boxes.boxes()[1].caption, "Inner");
    ASSERT_EQ(soundCalls.size(), 4u);
    EXPECT_EQ(soundCalls[1].sound, "BELL") << "the inner ring restarts the bell";
    EXPECT_EQ(soundCalls[1].boxesOpen, 1u);
    EXPECT_EQ(soundCalls[2].flags, static_cast<DWORD>(SND_PURGE));
    EXPECT_EQ(soundCalls[2].boxesOpen, 1u) << "closing the inner box stops the bell";
    EXPECT_EQ(soundCalls[3].boxesOpen, 0u);
}

TEST(BellResource, TheWaveIsInsideTheProgram)
{
    HRSRC found = FindResourceA(GetModuleHandleW(nullptr), "BELL", "WAVE");
    ASSERT_NE(found, nullptr);
    DWORD size = SizeofResource(GetModuleHandleW(nullptr), found);
    const char* data = static_cast<const char*>(LockResource(LoadResource(GetModuleHandleW(nullptr), found)));
    ASSERT_GT(size, 44u);
    EXPECT_EQ(std::string(data, 4), "RIFF");
    EXPECT_EQ(std::string(data + 8, 4), "WAVE");
}

}  // namespace
