// The countdown and the alarm as a user sets them: the real program's
// dialogs driven from outside with keys, its ring boxes found and closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

// Waits until the control's text (asked for with WM_GETTEXT) is `wanted`.
::testing::AssertionResult TextBecomes(HWND control, const std::string& wanted, DWORD timeoutMs = 2000)
{
    std::string last;
    if (PumpUntil([&] { return (last = SentTextOf(control)) == wanted; }, timeoutMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "text \"" << last << "\", wanted \"" << wanted << "\"";
}

// Types a text into an edit box of another process, replacing its text.
void TypeInto(HWND edit, const std::wstring& text)
{
    PostMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        PostMessageW(edit, WM_CHAR, c, 1);
}

// Starts the program with an ordinary window in front for it to decorate.
class TimersE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForMainWindow(), nullptr);
        ASSERT_TRUE(front.BringToFront());
    }
    Program program;
    TestWindow front{ L"Dokument" };
};

TEST_F(TimersE2E, ACountdownSetInItsDialogRingsWithItsNote)
{
    program.Command(IDM_COUNTDOWN);
    std::string seen;
    HWND dlg = program.WaitForBox("Timerset", 3000, &seen);
    ASSERT_NE(dlg, nullptr) << "no countdown dialog; dialogs: " << seen;
    HWND picker = GetDlgItem(dlg, IDC_TIMEPICKER);
    HWND note = GetDlgItem(dlg, IDC_NOTE);
    ASSERT_TRUE(TextBecomes(picker, "00:01:00")) << "the start duration is one minute";
    EXPECT_EQ(SentTextOf(note), Cp1250("K šéfovi pro pochvalu :)"));

    // As a user would: Tab from OK past CANCEL to the picker, then
    // 00:01:00 -> 00:00:05: select the hour field, move to the minutes, one
    // down, move to the seconds, five up.
    PressKey(dlg, VK_TAB, 2);
    PressKey(picker, VK_RIGHT, 2);
    PressKey(picker, VK_DOWN);
    PressKey(picker, VK_RIGHT);
    PressKey(picker, VK_UP, 5);
    ASSERT_TRUE(TextBecomes(picker, "00:00:05"));
    TypeInto(note, Wide("Porada u šéfa"));
    ASSERT_TRUE(TextBecomes(note, Cp1250("Porada u šéfa")));
    PressOk(dlg);
    DWORD okAt = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dlg); }, 2000));

    // Back at the document: its title carries the remaining time and the note.
    ASSERT_TRUE(front.BringToFront());
    const std::wstring countdownPart = Wide("  Porada u šéfa");
    std::wstring title;
    EXPECT_TRUE(PumpUntil([&] {
        title = front.Title();
        return title.find(L" * Za 00:00:0") != std::wstring::npos && title.find(countdownPart) != std::wstring::npos;
    }, 3000)) << "title: " << Utf8(title);

    HWND box = program.WaitForBox("Alaram Tikavo_T", 8000, &seen);
    DWORD rangAfter = GetTickCount() - okAt;
    ASSERT_NE(box, nullptr) << "no ring within 8 s; dialogs: " << seen;
    EXPECT_GE(rangAfter, 4500u) << "rang too early";
    EXPECT_LE(rangAfter, 7000u) << "rang too late";
    EXPECT_EQ(SentTextOf(GetDlgItem(box, 0xFFFF)), Cp1250("Porada u šéfa"));
    EXPECT_EQ(program.Boxes().size(), 1u);

    // With the box still open, the titles go on ticking without the countdown.
    ASSERT_TRUE(front.BringToFront());
    std::vector<std::wstring> titles;
    ASSERT_TRUE(PumpUntil([&] {
        title = front.Title();
        if (titles.empty() || titles.back() != title)
            titles.push_back(title);
        return titles.size() >= 3;
    }, 4000)) << "the title stood still: " << Utf8(title);
    // The last two were written by ticks inside the box, a second apart.
    for (size_t i = titles.size() - 2; i < titles.size(); ++i) {
        EXPECT_EQ(titles[i].rfind(L"Dokument  * ", 0), 0u) << Utf8(titles[i]);
        EXPECT_EQ(titles[i].find(L" * Za "), std::wstring::npos) << Utf8(titles[i]);
        EXPECT_EQ(titles[i].find(countdownPart), std::wstring::npos) << Utf8(titles[i]);
    }
    EXPECT_TRUE(IsWindow(box));

    PressOk(box);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 2000));
    PumpFor(1500);
    EXPECT_TRUE(program.Boxes().empty()) << "the countdown rings once";
    EXPECT_TRUE(program.Running());
}

TEST_F(TimersE2E, AnAlarmSetAFewSecondsAheadRings)
{
    // The seconds field is moved on without a carry into the minutes: start
    // early enough in the minute.
    SYSTEMTIME now;
    ASSERT_TRUE(PumpUntil([&] { GetLocalTime(&now); return now.wSecond < 50; }, 12000));

    program.Command(IDM_ALARM);
    std::string seen;
    HWND dlg = program.WaitForBox("AlarmSet", 3000, &seen);
    ASSERT_NE(dlg, nullptr) << "no alarm dialog; dialogs: " << seen;
    HWND check = GetDlgItem(dlg, IDC_ALARMCHECK);
    HWND picker = GetDlgItem(dlg, IDC_TIMEPICKER);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(picker));

    // Tab from OK past CANCEL to the check box and tick it with the space
    // bar: the picker is enabled at once; Tab on to it.
    PressKey(dlg, VK_TAB, 2);
    PressKey(check, VK_SPACE);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    EXPECT_TRUE(IsWindowEnabled(picker));
    PressKey(dlg, VK_TAB);

    // The picker shows the moment the dialog opened, "yy:MM:dd:HH:mm:ss".
    std::string shown = SentTextOf(picker);
    ASSERT_EQ(shown.size(), 17u) << shown;
    int shownSecond = atoi(shown.substr(15).c_str());
    GetLocalTime(&now);
    int target = now.wSecond + 4;
    ASSERT_LT(target, 60);
    ASSERT_GE(target, shownSecond);
    // Select the first field (the year), move on five fields to the seconds.
    PressKey(picker, VK_RIGHT, 6);
    PressKey(picker, VK_UP, target - shownSecond);
    char wanted[8];
    wsprintfA(wanted, "%02d", target);
    ASSERT_TRUE(TextBecomes(picker, shown.substr(0, 15) + wanted));

    PressOk(dlg);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dlg); }, 2000));
    HWND box = program.WaitForBox("Alarm", 8000, &seen);
    ASSERT_NE(box, nullptr) << "no alarm within 8 s; dialogs: " << seen;
    EXPECT_EQ(SentTextOf(GetDlgItem(box, 0xFFFF)), "Alarm");
    SYSTEMTIME rang;
    GetLocalTime(&rang);
    EXPECT_GE(rang.wSecond, target) << "rang before its second";
    PressOk(box);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 2000));
    PumpFor(1500);
    EXPECT_TRUE(program.Boxes().empty()) << "the alarm rings once";
}

}  // namespace
