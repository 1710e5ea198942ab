// The ring: the bell loops while its box is open, ticks go on inside it, and
// a ring from a tick inside the box opens a box of its own.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "support/mainwindow.h"

using namespace testsupport;

namespace {

struct SoundCall {
    std::string sound;   // empty for a stop
    DWORD flags;
    size_t boxesOpen;    // boxes open when the call came
};

std::vector<SoundCall> soundCalls;
const ModalDriver* driver = nullptr;

BOOL WINAPI RecordingPlayer(LPCSTR sound, HMODULE module, DWORD flags)
{
    soundCalls.push_back({ sound ? sound : "", flags, driver ? driver->open().size() : 0 });
    return PlaySoundA(sound, module, flags);
}

class RingBellTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        soundCalls.clear();
        bellSoundPlayer = RecordingPlayer;
    }
    // Rings while step drives its boxes.
    void Ring(const wchar_t* text, const wchar_t* caption, const std::function<void(const ModalDriver&)>& step)
    {
        ModalDriver boxes("the ring's boxes to be closed", 10000, [&] { step(boxes); });
        driver = &boxes;
        RingBell(owner.hwnd(), text, caption);
        driver = nullptr;
        rung = boxes.boxes();
    }
    TestWindow owner{ L"Owner" };
    std::vector<BoxInfo> rung;
};

TEST_F(RingBellTest, LoopsTheBellWhileTheBoxIsOpenAndTicksGoOnInsideIt)
{
    int ticks = 0;
    ThreadTicker tick(100, [&] { ++ticks; });
    int ticksWhenOpened = -1;
    size_t callsWhileOpen = 0;
    Ring(L"Bud\u00EDk zvon\u00ED", L"Alarm", [&](const ModalDriver& boxes) {   // "Budík zvoní"
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

    ASSERT_EQ(rung.size(), 1u);
    EXPECT_EQ(rung[0].text, "Bud\xEDk zvon\xED");
    EXPECT_EQ(rung[0].caption, "Alarm");
    EXPECT_EQ(rung[0].owner, owner.hwnd());
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
    Ring(L"outer", L"Outer", [&](const ModalDriver& boxes) {
        std::vector<HWND> open = boxes.open();
        maxOpen = std::max(maxOpen, open.size());
        if (open.size() == 1 && !innerStarted) {
            innerStarted = true;
            RingBell(owner.hwnd(), L"inner", L"Inner");   // a tick inside the box rings
            innerReturned = true;
        } else if (open.size() == 2) {
            PressOk(open.back());
        } else if (open.size() == 1 && innerReturned) {
            PressOk(open.back());
        }
    });

    EXPECT_TRUE(innerReturned);
    EXPECT_EQ(maxOpen, 2u);
    ASSERT_EQ(rung.size(), 2u);
    EXPECT_EQ(rung[0].text, "outer");
    EXPECT_EQ(rung[1].text, "inner");
    EXPECT_EQ(rung[1].caption, "Inner");
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
