// The program as a user starts it: one hidden main window, one instance,
// ended by a close request (the menu's exit command: the tray menu script).
#include <gtest/gtest.h>

#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

TEST(Shell, StartsWithOneHiddenMainWindowAndACloseRequestEndsItWithCodeZero)
{
    Program program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << "no main window of class \"Tikavo_T 1.0.8.0\"";
    EXPECT_EQ(NarrowTextOf(main), "Tikavo_T");
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    // As another program asks it to end (taskkill without /f).
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0);
}

TEST(Shell, ASecondStartExitsAndLeavesOneMainWindowAlsoWhileItCarriesAnotherTitle)
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
        HANDLE second = program.StartAnother();
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(WaitForSingleObject(second, 3000), WAIT_OBJECT_0) << "the second start did not exit within 3 s";
        DWORD code = 12345;
        GetExitCodeProcess(second, &code);
        CloseHandle(second);
        EXPECT_EQ(code, 0u);
        PumpFor(200);
        EXPECT_EQ(FindTikavoWindows().size(), 1u);
        EXPECT_TRUE(program.Running());
    }
}

}  // namespace
