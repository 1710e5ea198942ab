// The countdown as a user sets it: the real program's dialog driven from
// outside with keys, its ring box found and closed.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

// Waits until the control's text (asked for with WM_GETTEXT) is `wanted`.
::testing::AssertionResult TextBecomes(HWND control, const std::string& wanted, DWORD timeoutMs = 10000)
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
    HWND dlg = program.WaitForBox("Timerset", 10000, &seen);
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
    DWORD okAt = GetTickCount();
    PressOk(dlg);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dlg); }, 10000)) << "the dialog never closed";

    // Back at the document: its title carries the remaining time and the note.
    ASSERT_TRUE(front.BringToFront());
    const std::wstring countdownPart = Wide("  Porada u šéfa");
    std::wstring title;
    EXPECT_TRUE(PumpUntil([&] {
        title = front.Title();
        return title.find(L" * Za 00:00:0") != std::wstring::npos && title.find(countdownPart) != std::wstring::npos;
    }, 10000)) << "no countdown in the title; last title seen: " << Utf8(title);

    HWND box = program.WaitForBox("Alaram Tikavo_T", 30000, &seen);
    DWORD rangAfter = GetTickCount() - okAt;
    ASSERT_NE(box, nullptr) << "no ring within 30 s; dialogs: " << seen;
    // Counted from after the dialog closed: a busy machine only rings it later.
    EXPECT_GE(rangAfter, 4900u) << "rang too early";
    EXPECT_EQ(SentTextOf(GetDlgItem(box, 0xFFFF)), Cp1250("Porada u šéfa"));
    PressOk(box);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 10000)) << "the ring box never closed";
}

}  // namespace
