// The ring: the bell loops while its box is open, also when a tick inside the
// box rings again, and its box stands above every window.
// Runs under code pages 1250 and 1252.
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
std::vector<UINT> boxTypes;

// Wine 8 ignores MB_TOPMOST (the box never gets WS_EX_TOPMOST), so what the
// program asks of Windows is checked: by the documentation of MessageBox,
// MB_TOPMOST creates the box with WS_EX_TOPMOST, MB_SETFOREGROUND has the
// system call SetForegroundWindow for it.
int WINAPI RecordingBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    boxTypes.push_back(type);
    return MessageBoxW(owner, text, caption, type);
}

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
        timerCalls.playBellSound = RecordingPlayer;
        timerCalls.showRingBox = RecordingBox;
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

TEST_F(RingBellTest, TheBellLoopsUntilItsBoxClosesAlsoWhenATickInsideTheBoxRingsAgain)
{
    bool innerRung = false;
    Ring(L"Bud\u00EDk zvon\u00ED", L"Alarm", [&](const ModalDriver& boxes) {   // "Budík zvoní"
        std::vector<HWND> open = boxes.open();
        if (open.size() == 1 && !innerRung) {
            innerRung = true;
            RingBell(owner.hwnd(), L"inner", L"Inner");   // a tick inside the box rings
        } else if (!open.empty()) {
            PressOk(open.back());
        }
    });

    ASSERT_TRUE(innerRung);
    ASSERT_EQ(rung.size(), 2u);
    EXPECT_EQ(rung[0].text, "Bud\xEDk zvon\xED");
    EXPECT_EQ(rung[0].caption, "Alarm");
    EXPECT_EQ(rung[0].owner, owner.hwnd());
    // Above every window, also where Windows does not let it take the front.
    const UINT type = MB_OK | MB_TOPMOST | MB_SETFOREGROUND;
    EXPECT_EQ(boxTypes, (std::vector<UINT>{ type, type }));
    // The bell starts in a loop before each box opens and stops once each has
    // closed: the inner ring restarts it and its box's closing stops it.
    const DWORD loop = SND_RESOURCE | SND_ASYNC | SND_LOOP;
    ASSERT_EQ(soundCalls.size(), 4u);
    const SoundCall expected[4] = { { "BELL", loop, 0 }, { "BELL", loop, 1 }, { "", SND_PURGE, 1 },
                                    { "", SND_PURGE, 0 } };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(soundCalls[i].sound, expected[i].sound) << "call " << i;
        EXPECT_EQ(soundCalls[i].flags, expected[i].flags) << "call " << i;
        EXPECT_EQ(soundCalls[i].boxesOpen, expected[i].boxesOpen) << "call " << i;
    }
}

}  // namespace
