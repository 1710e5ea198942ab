// "Editace jmen" holds nothing: the clock and the countdown go on while
// Notepad is open, as Windows 10's stays for hours, and its end has the list
// read again; a correction saved in an editor that keeps the list open after
// the process the program started has ended (Windows 11's notepad.exe hands
// the file to the Notepad already open, and ends at once) shows too.
#include <gtest/gtest.h>

#include <cstring>

#include "namedays/namedays.h"
#include "res/resource.h"
#include "support/mainwindow.h"
#include "support/namelistfiles.h"

using namespace testsupport;

namespace {

std::wstring askedFor, askedWith;

// Starts a stand-in that ends at once instead of the editor asked for.
BOOL WINAPI StartStandIn(SHELLEXECUTEINFOW* request)
{
    askedFor = request->lpFile;
    askedWith = request->lpParameters;
    std::wstring standIn = WinePath(TIKAVO_PLANTED) + L".exe";
    request->lpFile = standIn.c_str();
    return ShellExecuteExW(request);
}

class NameListEditor : public MainWindowTest {};

TEST_F(NameListEditor, ACorrectionSavedAfterTheEditorHasEndedShowsOnTheNextTick)
{
    appCalls.readLocalTime = CountingClock;
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList(Cp1250("Původní"))));
    MakeMainWindow();
    ASSERT_TRUE(PumpUntil([] { return todayName == Cp1250("Původní"); }, 3000)) << todayName;

    nameDayCalls.startEditor = StartStandIn;
    SendMessageW(main, WM_COMMAND, IDM_EDIT_NAMES, 0);
    wchar_t notepad[MAX_PATH];
    GetSystemDirectoryW(notepad, MAX_PATH);
    EXPECT_EQ(Utf8(askedFor), Utf8(notepad) + "\\notepad.exe") << "Windows' own Notepad, by its full path";
    EXPECT_EQ(Utf8(askedWith), "\"" + Utf8(ListPath()) + "\"") << "the list's path whole, in quotes";

    // The next tick reads the list, still unchanged; the user saves the
    // correction in the tab only then.
    int before = ticksSeen;
    ASSERT_TRUE(PumpUntil([before] { return ticksSeen > before + 1; }, 3000));
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList(Cp1250("Opravené jméno"))));
    EXPECT_TRUE(PumpUntil([] { return todayName == Cp1250("Opravené jméno"); }, 2500)) << todayName;
}

// The list's last write as on a day long past: a list written so, in its
// size, is no save the program can notice.
bool BackDate(const std::wstring& path)
{
    HANDLE list = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    FILETIME longAgo = { 0, 0x01D5C000 };   // in 2020
    bool done = list != INVALID_HANDLE_VALUE && SetFileTime(list, nullptr, nullptr, &longAgo);
    CloseHandle(list);
    return done;
}

TEST_F(NameListEditor, WhileNotepadIsOpenTheClockTicksACountdownRingsAndItsEndHasTheListReadAgain)
{
    appCalls.readLocalTime = CountingClock;
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList(Cp1250("Původní"))) && BackDate(ListPath()));
    MakeMainWindow();
    ASSERT_TRUE(PumpUntil([] { return todayName == Cp1250("Původní"); }, 3000)) << todayName;

    SendMessageW(main, WM_COMMAND, IDM_EDIT_NAMES, 0);
    HWND notepad = WaitForNotepad(10000);
    ASSERT_NE(notepad, nullptr) << "no notepad window on jmena.txt";
    struct Closer {
        HWND hwnd;
        ~Closer() { EndNotepad(hwnd); }
    } closer{ notepad };

    // A countdown of no time rings at the next tick.
    std::strcpy(TimerSettings.countdownDuration, "00:00:00");
    StartCountdown();
    ModalDriver ring("the countdown's ring box to be closed", 10000, [&] {
        if (!ring.open().empty())
            PressOk(ring.open().back());
    });
    ASSERT_TRUE(PumpUntil([&] { return ring.Count("Alaram Tikavo_T") == 1 && ring.open().empty(); }, 5000))
        << "the countdown did not ring while Notepad was open";

    // Changed behind the editor's back, in its size and write time, the list
    // is not read again while Notepad runs, but once it has ended.
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList(Cp1250("Nynější"))) && BackDate(ListPath()));
    int ticks = ticksSeen;
    ASSERT_TRUE(PumpUntil([ticks] { return ticksSeen > ticks + 1; }, 5000)) << "the clock stood still";
    EXPECT_EQ(todayName, Cp1250("Původní"));
    EndNotepad(notepad);
    EXPECT_TRUE(PumpUntil([] { return todayName == Cp1250("Nynější"); }, 3000)) << todayName;
}

}  // namespace
