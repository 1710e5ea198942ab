// The title-bar clock as a user sees it: the real program decorates the
// front window of another process and gives every title back exactly.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "res/resource.h"
#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

const wchar_t* const czechDays[7] = { L"Ned\u011Ble", L"Pond\u011Bl\u00ED", L"\u00DAter\u00FD",
                                      L"St\u0159eda", L"\u010Ctvrtek", L"P\u00E1tek", L"Sobota" };

// Waits (pumping this thread's messages, so the program's writes arrive)
// until the window's title satisfies ok; on failure says what it last saw.
::testing::AssertionResult TitleBecomes(HWND window, const std::function<bool(const std::wstring&)>& ok,
                                        DWORD timeoutMs, const char* what)
{
    std::wstring last;
    bool met = PumpUntil([&] { last = InternalTextOf(window); return ok(last); }, timeoutMs);
    if (met)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " within " << timeoutMs << " ms; last title seen: ["
                                         << Utf8(last) << "]";
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::wstring& text, const std::wstring& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The clock text a title shows for today: "  * <den> - d.m.yyyy - " followed by
// the time; what follows the time is checked by the caller.
std::wstring TodaysClockStart()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[80];
    wsprintfW(text, L"  * %s - %d.%d.%d - ", czechDays[now.wDayOfWeek], now.wDay, now.wMonth, now.wYear);
    return text;
}

// Decorated behind the own title, in any second, with any name.
bool DecoratedBehind(const std::wstring& title, const std::wstring& own)
{
    return StartsWith(title, own + L"  * ") && EndsWith(title, L" *") && title.size() > own.size() + 30;
}

// The program, started with a window of this process in front.
class TitleClockE2E : public ::testing::Test {
protected:
    void Start()
    {
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForMainWindow(), nullptr) << "no main window within 2 s";
    }
    Program program;
};

TEST_F(TitleClockE2E, TheFrontWindowShowsTodaysDayDateAndTimeWithinTwoSeconds)
{
    TestWindow doc(L"Dokument");
    ASSERT_TRUE(doc.BringToFront());
    DWORD started = GetTickCount();
    Start();
    const std::wstring clockStart = L"Dokument" + TodaysClockStart();
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), [&](const std::wstring& t) { return StartsWith(t, clockStart); },
                             2000 - (GetTickCount() - started), "decorated with today's day and date"));

    // "Dokument  * <den> - d.m.yyyy - hh:mm:ss * <name> *": the time within 2 s
    // of now, then the name (empty until a name-day is known) and the closing star.
    std::wstring title = doc.Title();
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::wstring rest = title.substr(clockStart.size());
    ASSERT_GE(rest.size(), 13u) << Utf8(title);
    int hour = 0, minute = 0, second = 0;
    ASSERT_EQ(swscanf(rest.c_str(), L"%2d:%2d:%2d", &hour, &minute, &second), 3) << Utf8(title);
    EXPECT_EQ(rest[2], L':');
    EXPECT_EQ(rest[5], L':');
    int shown = hour * 3600 + minute * 60 + second;
    int actual = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    int apart = (actual - shown + 86400) % 86400;
    EXPECT_LE(apart, 2) << "time in the title: " << Utf8(rest.substr(0, 8));
    EXPECT_EQ(rest.substr(8, 3), L" * ") << Utf8(title);
    EXPECT_TRUE(EndsWith(rest, L" *")) << Utf8(title);
    EXPECT_EQ(rest.find(L'*', 11), rest.size() - 1) << "one name and one closing star: " << Utf8(title);
}

TEST_F(TitleClockE2E, BringingAnotherWindowToTheFrontGivesTheFirstItsTitleBack)
{
    TestWindow a(L"Dokument");
    TestWindow b(L"Dopis");
    ASSERT_TRUE(a.BringToFront());
    Start();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dokument"); },
                             2000, "A decorated"));
    ASSERT_TRUE(b.BringToFront());
    EXPECT_TRUE(TitleBecomes(a.hwnd(), [](const std::wstring& t) { return t == L"Dokument"; },
                             2000, "A given its own title back"));
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dopis"); },
                             500, "B decorated"));
    EXPECT_EQ(a.Title(), L"Dokument");
}

TEST_F(TitleClockE2E, ThePlacementCommandsMoveTheClockInFrontAndBehind)
{
    TestWindow a(L"Dokument");
    ASSERT_TRUE(a.BringToFront());
    Start();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dokument"); },
                             2000, "decorated behind"));

    program.Command(IDM_PLACE_BEFORE);
    EXPECT_TRUE(TitleBecomes(a.hwnd(), [](const std::wstring& t) {
        return StartsWith(t, L"  * ") && EndsWith(t, L" * Dokument");
    }, 2000, "decorated in front"));

    program.Command(IDM_PLACE_AFTER);
    EXPECT_TRUE(TitleBecomes(a.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dokument"); },
                             2000, "decorated behind again"));
}

TEST_F(TitleClockE2E, ExitLeavesTheLastWindowWithItsExactOwnTitle)
{
    // A title outside Windows-1250: it must not come back with question marks.
    const std::wstring own = L"Zpr\u00E1vy \U0001F642 \u2014 \u041D\u043E\u0432\u043E\u0441\u0442\u0438";
    TestWindow a(own);
    ASSERT_TRUE(a.BringToFront());
    Start();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return DecoratedBehind(t, own); },
                             2000, "decorated"));
    // At least one more tick, so the title read back is the decorated one.
    std::wstring first = a.Title();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return t != first && DecoratedBehind(t, own); },
                             2000, "decorated on the next tick"));

    program.Command(IDM_EXIT);
    EXPECT_EQ(program.WaitForExit(3000), 0);
    EXPECT_EQ(a.Title(), own) << Utf8(a.Title());
}

TEST_F(TitleClockE2E, ALongTitleOfAnotherProcessIsGivenBackWhole)
{
    std::wstring own;
    for (int i = 0; i < 600; ++i)
        own += static_cast<wchar_t>(i % 40 == 39 ? L'\u017E' : L'a' + i % 26);
    TestWindow a(own);
    TestWindow b(L"Dopis");
    ASSERT_TRUE(a.BringToFront());
    Start();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return DecoratedBehind(t, own); },
                             2000, "decorated"));
    std::wstring first = a.Title();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return t != first && DecoratedBehind(t, own); },
                             2000, "decorated on the next tick"));
    ASSERT_TRUE(b.BringToFront());
    EXPECT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return t == own; },
                             2000, "the 600 characters given back whole"));
}

// A window whose owner thread stops pumping messages for 5 s while it is the
// decorated front window.
class HangingWindow {
public:
    explicit HangingWindow(const std::wstring& title) : title_(title)
    {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        front_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        hang_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        quit_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(ready_, 5000);
    }
    ~HangingWindow()
    {
        SetEvent(quit_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(ready_);
        CloseHandle(front_);
        CloseHandle(hang_);
        CloseHandle(quit_);
    }
    HWND hwnd() const { return hwnd_; }
    // Has the owner thread bring its window to the front; waits for it.
    bool BringToFront()
    {
        SetEvent(front_);
        return PumpUntil([this] { return GetForegroundWindow() == hwnd_; }, 2000);
    }
    void Hang() { SetEvent(hang_); }
    bool awake() const { return awake_; }
    bool hung() const { return hung_; }

private:
    static DWORD WINAPI Run(LPVOID self) { static_cast<HangingWindow*>(self)->Loop(); return 0; }
    void Loop()
    {
        TestWindow window(title_);
        hwnd_ = window.hwnd();
        SetEvent(ready_);
        HANDLE events[3] = { hang_, quit_, front_ };
        for (;;) {
            DWORD got = MsgWaitForMultipleObjects(3, events, FALSE, INFINITE, QS_ALLINPUT);
            if (got == WAIT_OBJECT_0 + 2) {
                SetForegroundWindow(hwnd_);
            } else if (got == WAIT_OBJECT_0) {
                ResetEvent(hang_);
                hung_ = true;
                Sleep(5000);   // the owner does not answer
                awake_ = true;
            } else if (got == WAIT_OBJECT_0 + 1) {
                break;
            }
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    std::wstring title_;
    HANDLE ready_, front_, hang_, quit_, thread_;
    HWND hwnd_ = nullptr;
    std::atomic<bool> hung_{ false }, awake_{ false };
};

TEST_F(TitleClockE2E, AWindowWhoseOwnerDoesNotAnswerDoesNotStopTheClock)
{
    TestWindow b(L"Dopis");
    TestWindow c(L"Tabulka");
    HangingWindow stuck(L"Zamrzl\u00E9 okno");
    // Wine hands the front to the desktop once this thread handles the
    // deactivation of its own windows; bring the window up again after it.
    PumpFor(200);
    ASSERT_TRUE(stuck.BringToFront());
    Start();
    ASSERT_TRUE(TitleBecomes(stuck.hwnd(), [](const std::wstring& t) {
        return DecoratedBehind(t, L"Zamrzl\u00E9 okno");
    }, 2000, "the window decorated before its owner stops answering"))
        << "front window " << GetForegroundWindow() << ", the window " << stuck.hwnd();

    stuck.Hang();
    PumpUntil([&] { return stuck.hung(); }, 1000);
    PumpFor(1000);   // at least one tick tries to write into it meanwhile

    // Another window is decorated and given its title back while the first
    // one's owner still sleeps.
    ASSERT_TRUE(b.BringToFront());
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dopis"); },
                             1800, "B decorated"));
    EXPECT_FALSE(stuck.awake()) << "B was decorated only after the owner woke up";
    ASSERT_TRUE(c.BringToFront());
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return t == L"Dopis"; },
                             1800, "B given its title back"));
    EXPECT_FALSE(stuck.awake()) << "B got its title back only after the owner woke up";

    // Once its owner answers again, the window shows its own title, with
    // nothing of the decorations sent while it slept.
    ASSERT_TRUE(PumpUntil([&] { return stuck.awake(); }, 5000));
    EXPECT_TRUE(TitleBecomes(stuck.hwnd(), [](const std::wstring& t) { return t == L"Zamrzl\u00E9 okno"; },
                             2500, "the sleeping window given its own title back"));
    EXPECT_TRUE(TitleBecomes(c.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Tabulka"); },
                             500, "C decorated"));
}

}  // namespace
