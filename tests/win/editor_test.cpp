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

TEST_F(NameListEditor, WhileNotepadIsOpenTheClockTicksACountdownRingsAndItsEndHasTheListReadAgain)
{
    // Lists of one size, their last write set back to 2020: no save the program can notice.
    auto writeList = [this](const char* name) {
        HANDLE list = WriteBytes(ListPath(), EveryDayList(Cp1250(name)))
            ? CreateFileW(ListPath().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        FILETIME longAgo = { 0, 0x01D5C000 };
        ASSERT_TRUE(SetFileTime(list, nullptr, nullptr, &longAgo) && CloseHandle(list));
    };
    appCalls.readLocalTime = CountingClock;
    writeList("Původní");
    MakeMainWindow();
    ASSERT_TRUE(PumpUntil([] { return todayName == Cp1250("Původní"); }, 3000)) << todayName;
    SendMessageW(main, WM_COMMAND, IDM_EDIT_NAMES, 0);
    struct Closer {
        HWND hwnd = WaitForNotepad(10000);
        ~Closer() { EndNotepad(hwnd); }
    } notepad;
    ASSERT_NE(notepad.hwnd, nullptr) << "no notepad window on jmena.txt";

    std::strcpy(TimerSettings.countdownDuration, "00:00:00");   // rings at the next tick
    StartCountdown();
    ModalDriver ring("the countdown's ring box to be closed", 10000, [&] {
        if (!ring.open().empty())
            PressOk(ring.open().back());
    });
    EXPECT_TRUE(PumpUntil([&] { return ring.Count("Alaram Tikavo_T") == 1 && ring.open().empty(); }, 5000))
        << "the countdown did not ring while Notepad was open";
    writeList("Nynější");
    int ticks = ticksSeen;
    ASSERT_TRUE(PumpUntil([ticks] { return ticksSeen > ticks + 1; }, 5000)) << "the clock stood still";
    EXPECT_EQ(todayName, Cp1250("Původní")) << "read again while Notepad ran";
    EndNotepad(notepad.hwnd);
    EXPECT_TRUE(PumpUntil([] { return todayName == Cp1250("Nynější"); }, 3000)) << todayName;
}

}  // namespace
