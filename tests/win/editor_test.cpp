// A correction saved in an editor that keeps the list open after the process
// the program started has ended: Windows 11's notepad.exe hands the file to
// the Notepad already open, which shows it in a tab, and ends at once.
#include <gtest/gtest.h>

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
    SendMessageW(main, WM_COMMAND, IDM_EDIT_NAMES, 0);   // back once the stand-in has ended
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

}  // namespace
