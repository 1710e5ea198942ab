// The title-bar clock as a user sees it: the real program decorates the
// front window of another process and gives every title back exactly.
#include <gtest/gtest.h>

#include <atomic>

#include "res/resource.h"
#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

const wchar_t* const czechDays[7] = { L"Ned\u011Ble", L"Pond\u011Bl\u00ED", L"\u00DAter\u00FD",
                                      L"St\u0159eda", L"\u010Ctvrtek", L"P\u00E1tek", L"Sobota" };

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
    Start();
    // Today's day and date, as read now (also once midnight has passed).
    std::wstring clockStart;
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), [&](const std::wstring& t) {
        clockStart = L"Dokument" + TodaysClockStart();
        return StartsWith(t, clockStart);
    }, 2000, "decorated with today's day and date"));

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

TEST_F(TitleClockE2E, EveryWindowGetsExactlyItsOwnTitleBackOnASwitchAndAtTheExit)
{
    // A long title of another process, with letters outside Windows-1250: it
    // must come back whole, without question marks.
    std::wstring own = L"Zpr\u00E1vy \U0001F642 \u2014 \u041D\u043E\u0432\u043E\u0441\u0442\u0438 ";
    for (int i = 0; i < 600; ++i)
        own += static_cast<wchar_t>(i % 40 == 39 ? L'\u017E' : L'a' + i % 26);
    TestWindow a(own);
    TestWindow b(L"Dopis");
    ASSERT_TRUE(a.BringToFront());
    Start();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return DecoratedBehind(t, own); },
                             2000, "A decorated"));
    // At least one more tick, so the title read back is the decorated one.
    std::wstring first = a.Title();
    ASSERT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return t != first && DecoratedBehind(t, own); },
                             2000, "A decorated on the next tick"));
    ASSERT_TRUE(b.BringToFront());
    EXPECT_TRUE(TitleBecomes(a.hwnd(), [&](const std::wstring& t) { return t == own; },
                             2000, "A given its own title back whole"));
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dopis"); },
                             1000, "B decorated"));

    program.Command(IDM_EXIT);
    EXPECT_EQ(program.WaitForExit(3000), 0);
    EXPECT_EQ(b.Title(), L"Dopis");
    EXPECT_EQ(a.Title(), own) << Utf8(a.Title());
}

TEST_F(TitleClockE2E, AWindowWhoseOwnerDoesNotAnswerDoesNotStopTheClock)
{
    std::atomic<bool> hung{ false }, awake{ false };
    TestWindow b(L"Dopis");
    TestWindow c(L"Tabulka");
    ThreadWindow stuck(L"Zamrzl\u00E9 okno");
    // Wine hands the front to the desktop once this thread handles the
    // deactivation of its own windows; bring the window up again after it.
    PumpFor(200);
    ASSERT_TRUE(stuck.BringToFront());
    Start();
    ASSERT_TRUE(TitleBecomes(stuck.hwnd(), [](const std::wstring& t) {
        return DecoratedBehind(t, L"Zamrzl\u00E9 okno");
    }, 2000, "the window decorated before its owner stops answering"))
        << "front window " << GetForegroundWindow() << ", the window " << stuck.hwnd();

    stuck.Run([&] {   // its owner stops answering for 5 s
        hung = true;
        Sleep(5000);
        awake = true;
    });
    ASSERT_TRUE(PumpUntil([&] { return hung.load(); }, 1000)) << "the owner never started its sleep";
    PumpFor(1000);   // at least one tick tries to write into it meanwhile

    // Another window is decorated and given its title back while the first
    // one's owner still sleeps.
    ASSERT_TRUE(b.BringToFront());
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Dopis"); },
                             1800, "B decorated"));
    EXPECT_FALSE(awake) << "B was decorated only after the owner woke up";
    ASSERT_TRUE(c.BringToFront());
    EXPECT_TRUE(TitleBecomes(b.hwnd(), [](const std::wstring& t) { return t == L"Dopis"; },
                             1800, "B given its title back"));
    EXPECT_FALSE(awake) << "B got its title back only after the owner woke up";

    // Once its owner answers again, the window shows its own title, with
    // nothing of the decorations sent while it slept.
    ASSERT_TRUE(PumpUntil([&] { return awake.load(); }, 5000));
    EXPECT_TRUE(TitleBecomes(stuck.hwnd(), [](const std::wstring& t) { return t == L"Zamrzl\u00E9 okno"; },
                             2500, "the sleeping window given its own title back"));
    EXPECT_TRUE(TitleBecomes(c.hwnd(), [](const std::wstring& t) { return DecoratedBehind(t, L"Tabulka"); },
                             500, "C decorated"));
}

}  // namespace
