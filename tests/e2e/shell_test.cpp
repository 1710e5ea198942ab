// The program as a user starts it: one hidden main window, one instance,
// ended by a close request (the menu's exit command: the tray menu script);
// a newer version takes over from an older one.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

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

// Every title the window whose procedure this is was given.
std::vector<std::wstring> titlesGiven;
WNDPROC documentProc;
LRESULT CALLBACK RecordingTitles(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        titlesGiven.push_back(reinterpret_cast<const wchar_t*>(lParam));
    return CallWindowProcW(documentProc, hwnd, message, wParam, lParam);
}
// An older copy's main window that does not end when asked to.
LRESULT CALLBACK NeverEnds(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_CLOSE ? 0 : DefWindowProcW(hwnd, message, wParam, lParam);
}

// This build beside a copy that does not end, and a test build of the same
// sources with a newer version.
TEST(Shell, ANewerVersionTakesOverFromAnOlderCopyWhichGivesItsTitlesBackAndAnOlderStartEnds)
{
    WNDCLASSW stuckClass = { 0, NeverEnds, 0, 0, GetModuleHandleW(nullptr), nullptr, nullptr, nullptr, nullptr,
                             L"Tikavo_T 1.0.0.0" };
    RegisterClassW(&stuckClass);
    HWND stuck = CreateWindowExW(0, stuckClass.lpszClassName, L"Tikavo_T", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    Program program;
    ASSERT_TRUE(program.StartBeside());   // (Start() would end every copy, this one too)
    std::string seen;
    HWND box = program.WaitForBox("Tikavo_T " TIKAVO_VERSION, 15000, &seen);
    ASSERT_NE(box, nullptr) << "nothing said of the copy that did not end; boxes: " << seen;
    EXPECT_NE(BoxText(box).find("(Tikavo_T 1.0.0.0)"), std::string::npos) << BoxText(box);
    PressOk(box);
    EXPECT_EQ(program.WaitForExit(10000), 1);
    EXPECT_TRUE(IsWindow(stuck)) << "the copy was not left alone";
    DestroyWindow(stuck);

    TestWindow doc(L"Dokument");
    documentProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(doc.hwnd(), GWLP_WNDPROC, LONG_PTR(RecordingTitles)));
    ASSERT_TRUE(doc.BringToFront());
    auto decorated = [](const std::wstring& t) { return StartsWith(t, L"Dokument  * ") && t.find(L"  * ", 12) == t.npos; };
    Program older;
    ASSERT_TRUE(older.Start());
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), decorated, 10000, "the clock of the older copy"));
    Program newer(true, TIKAVO_NEWER_EXE);
    ASSERT_TRUE(newer.StartBeside());
    EXPECT_EQ(older.WaitForExit(10000), 0) << "the older copy did not end";
    // The window never left the front: only the older copy's exit gave it its own title.
    EXPECT_NE(std::find(titlesGiven.begin(), titlesGiven.end(), L"Dokument"), titlesGiven.end()) << "not given back";
    ASSERT_NE(newer.WaitForMainWindow(), nullptr) << "no main window of class \"Tikavo_T " TIKAVO_NEWER_VERSION "\"";
    NOTIFYICONDATAW icon = { 936, newer.mainWindow(), 1 };
    EXPECT_TRUE(PumpUntil([&] { return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE; }, 10000)) << "the newer has no icon";
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), decorated, 10000, "the clock of the newer copy"));

    Program again;   // this build again, now the older
    ASSERT_TRUE(again.StartBeside());
    EXPECT_EQ(again.WaitForExit(10000), 0) << "the older start did not end";
    EXPECT_TRUE(newer.Running());
}

}  // namespace
