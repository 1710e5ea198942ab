// The program's hidden main window made in the test's own process, for the
// in-process tests. Each test starts with the shipped name list beside the
// tests' executable (as the program has it beside its own), whatever an
// earlier test, even one killed half-way, left there; every test seam is put
// back at its end.
#ifndef TIKAVO_TESTS_MAINWINDOW_H
#define TIKAVO_TESTS_MAINWINDOW_H

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

#include "app/app.h"
#include "namedays/namedays.h"
#include "support/namelistfiles.h"
#include "support/winsupport.h"
#include "timers/timers.h"
#include "tray/tray.h"

namespace testsupport {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        appInstance = GetModuleHandleW(nullptr);
        ticksSeen = 0;
        ASSERT_TRUE(PutShippedList()) << "the shipped list beside the tests";
    }
    void TearDown() override
    {
        PutShippedList();
        if (main && IsWindow(main))
            DestroyWindow(main);
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        appCalls = {}, trayCalls = {}, nameDayCalls = {}, timerCalls = {};   // the system's own calls back
    }

    // The list beside the tests' executable, where the program looks for it.
    static std::wstring ListPath()
    {
        wchar_t exe[MAX_PATH];
        std::wstring path(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
        return path.replace(path.rfind(L'\\') + 1, std::wstring::npos, L"jmena.txt");
    }
    static void RemoveList()
    {
        SetFileAttributesW(ListPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(ListPath().c_str());
        RemoveDirectoryW(ListPath().c_str());
    }
    static bool PutShippedList()
    {
        RemoveList();
        return CopyFileW(WinePath(TIKAVO_LIST).c_str(), ListPath().c_str(), FALSE) != FALSE;
    }

    // The main window as the program makes it: its creation adds the tray
    // icon and starts the tick. Without ticking, the test ticks itself.
    HWND MakeMainWindow(bool ticking = true)
    {
        EXPECT_TRUE(RegisterMainWindowClass());
        main = CreateMainWindow();
        EXPECT_NE(main, nullptr);
        if (!ticking)
            KillTimer(main, mainTimerId);
        return main;
    }

    HWND main = nullptr;

public:
    // The local time as the tick reads it, counted.
    static void WINAPI CountingClock(LPSYSTEMTIME now)
    {
        ++ticksSeen;
        GetLocalTime(now);
    }
    static inline std::atomic<int> ticksSeen{ 0 };
};

}  // namespace testsupport

#endif
