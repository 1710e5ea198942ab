// The program as a user starts it: one hidden main window, one instance,
// ended by a close request (the menu's exit command: the tray menu script).
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

TEST(Shell, StartsWithOneHiddenMainWindowAndACloseRequestEndsItWithCodeZero)
{
    Program program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "no main window of class \"Tikavo_T " TIKAVO_VERSION "\"";
    EXPECT_EQ(NarrowTextOf(main), "Tikavo_T");
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    // As another program asks it to end (taskkill without /f).
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0);
}

TEST(Shell, ASecondStartBringsAMissingIconBackAndExitsAlsoWhileTheMainWindowCarriesAnotherTitle)
{
    Program program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    // While the tray menu is open the main window is the foreground window
    // and gets decorated like any other; the guard must still find it.
    for (bool decorated : { false, true }) {
        if (decorated)
            SetWindowTextW(main, L"Tikavo_T  * Pond\u011Bl\u00ED - 7.12.2026 - 20:00:00 * Ambro\u017E *");
        NOTIFYICONDATAW icon = { 936, main, 1 };
        // A shell that is busy at the start takes the icon at a later tick.
        ASSERT_TRUE(PumpUntil([&] { return Shell_NotifyIconW(NIM_DELETE, &icon) != FALSE; }, 10000)) << "no icon to take";
        HANDLE second = program.StartAnother();
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0) << "the second start did not exit within 10 s";
        DWORD code = 12345;
        GetExitCodeProcess(second, &code);
        CloseHandle(second);
        EXPECT_EQ(code, 0u);
        PumpFor(200);
        EXPECT_EQ(FindTikavoWindows().size(), 1u);
        EXPECT_TRUE(program.Running());
        EXPECT_TRUE(PumpUntil([&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }, 10000))
            << "the icon never came back";
    }
}

TEST(Shell, TwoStartsAtOnceLeaveOneRunningCopy)
{
    // The Startup shortcut and a double-click at sign-in: neither has made
    // its window when the other looks for one.
    for (int round = 1; round <= 5; ++round) {
        Program program;
        ASSERT_TRUE(program.Start());
        HANDLE second = program.StartAnother();
        ASSERT_NE(second, nullptr);
        HANDLE both[2] = { program.process(), second };
        DWORD ended = WaitForMultipleObjects(2, both, FALSE, 10000) - WAIT_OBJECT_0;
        ASSERT_LT(ended, 2u) << "round " << round << ": both run after 10 s";
        DWORD code = 12345;
        GetExitCodeProcess(both[ended], &code);
        EXPECT_EQ(code, 0u) << "round " << round;
        EXPECT_EQ(WaitForSingleObject(both[1 - ended], 0), WAIT_TIMEOUT) << "round " << round << ": none runs";
        EXPECT_TRUE(PumpUntil([] { return FindTikavoWindows().size() == 1; }, 10000)) << "round " << round;
        TerminateProcess(second, 99);
        WaitForSingleObject(second, 5000);
        CloseHandle(second);
    }
}

}  // namespace
