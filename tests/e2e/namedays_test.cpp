// Today's name in the title as a user sees it: after a missing list's one
// error box, and with a list whose path would be too long.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "res/resource.h"
#include "support/namelistfiles.h"
#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

const char errorText[] = "Cannot open the specify file jmena";

// Today's name as the shipped list gives it.
std::wstring ShippedNameToday()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ShippedName(now.wDay, now.wMonth);
}

// Today's name from the shipped list: the day's as read at first, or as read
// now once midnight has passed meanwhile.
std::function<bool(const std::wstring&)> ShowsTodaysName()
{
    const std::wstring first = ShippedNameToday();
    return [first](const std::wstring& title) {
        return ShowsName(title, first) || ShowsName(title, ShippedNameToday());
    };
}

TEST(NameDaysE2E, StartedWithoutAListShowsOneBoxThenTitlesWithoutANameUntilTheListIsThere)
{
    TestWindow doc(L"Dokument");
    ASSERT_TRUE(doc.BringToFront());
    Program program(false);
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);

    std::string seen;
    HWND box = program.WaitForBox("Error", 10000, &seen);
    ASSERT_NE(box, nullptr) << "no error box for the missing list; boxes: " << seen;
    EXPECT_EQ(BoxText(box), errorText);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    PressOk(box);
    ASSERT_TRUE(PumpUntil([&] { return program.Boxes().empty(); }, 10000)) << "the error box never closed";

    ASSERT_TRUE(doc.BringToFront());
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), [](const std::wstring& t) { return ShowsName(t, L""); },
                             10000, "titles with an empty name"));

    // The list put in place: a tick has the name, and none has reported again.
    ASSERT_TRUE(CopyFileW(WinePath(TIKAVO_LIST).c_str(), program.listPath().c_str(), FALSE));
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), ShowsTodaysName(), 10000, "today's name once the list is in place"));
    EXPECT_TRUE(program.Boxes().empty()) << "a second error box";
}

// The folder name that gives the program's folder exactly the given length.
std::wstring FolderOfLength(size_t length)
{
    wchar_t base[MAX_PATH];
    size_t baseLength = GetTempPathW(MAX_PATH, base);
    wchar_t prefix[32];
    wsprintfW(prefix, L"tikavo-%lu-", GetCurrentProcessId());
    std::wstring name = prefix;
    name.resize(length - baseLength, L'd');
    return name;
}

TEST(NameDaysE2E, AListWhosePathWouldPass255CharactersCountsAsMissing)
{
    // The folder of 245 characters: "\jmena.txt" makes 255, read as usual.
    {
        TestWindow doc(L"Dokument");
        ASSERT_TRUE(doc.BringToFront());
        Program program(true, FolderOfLength(245));
        ASSERT_EQ(program.folder().size(), 245u);
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForMainWindow(), nullptr);
        EXPECT_TRUE(TitleBecomes(doc.hwnd(), ShowsTodaysName(), 10000, "today's name"));
        EXPECT_TRUE(program.Boxes().empty());
    }
    // One more character: the list beside the program is never cut to fit,
    // it cannot be opened, and that is reported once: ticks after the box
    // write titles with no name, and no second box comes.
    {
        TestWindow doc(L"Dokument");
        Program program(true, FolderOfLength(246));
        ASSERT_EQ(program.folder().size(), 246u);
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForMainWindow(), nullptr);
        HWND box = program.WaitForBox("Error", 10000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box), errorText);
        PressOk(box);
        ASSERT_TRUE(doc.BringToFront());
        std::wstring first;
        EXPECT_TRUE(TitleBecomes(doc.hwnd(), [&](const std::wstring& t) {
            if (!ShowsName(t, L""))
                return false;
            if (first.empty())
                first = t;
            return t != first;
        }, 10000, "two ticks' titles without a name after the box"));
        EXPECT_TRUE(program.Boxes().empty()) << "a second error box";
    }
}

}  // namespace
