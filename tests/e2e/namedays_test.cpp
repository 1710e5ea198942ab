// Today's name in the title as a user sees it: from the shipped list, after
// a missing list's one error box, through a deleted list, and after an edit
// in notepad.
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

// Today's name as the shipped list gives it, widened as the title shows it.
std::wstring ShippedNameToday()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string name = ShippedName(now.wDay, now.wMonth);
    int n = MultiByteToWideChar(1250, 0, name.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(1250, 0, name.c_str(), -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n) - 1);
    return wide;
}

// "Dokument  * <den> - d.m.yyyy - hh:mm:ss * <name> *" with the given name.
bool ShowsName(const std::wstring& title, const std::wstring& name)
{
    return StartsWith(title, L"Dokument  * ") && EndsWith(title, L" * " + name + L" *");
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

TEST(NameDaysE2E, TodaysNameFromTheShippedListIsInTheTitle)
{
    std::wstring name = ShippedNameToday();
    ASSERT_FALSE(name.empty()) << "the shipped list has no name for today";
    TestWindow doc(L"Dokument");
    ASSERT_TRUE(doc.BringToFront());
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), ShowsTodaysName(), 2500, "today's name in the title"));
    EXPECT_TRUE(program.Boxes().empty());
}

TEST(NameDaysE2E, StartedWithoutAListShowsOneBoxThenTitlesWithoutAName)
{
    TestWindow doc(L"Dokument");
    ASSERT_TRUE(doc.BringToFront());
    Program program(false);
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);

    HWND box = program.WaitForBox("Error", 3000);
    ASSERT_NE(box, nullptr) << "no error box for the missing list";
    EXPECT_EQ(doc.Title(), L"Dokument") << "the tick that reports the missing list must write no title";
    EXPECT_EQ(BoxText(box), errorText);
    EXPECT_TRUE(StartsWith(InternalTextOf(box), L"Error")) << Utf8(InternalTextOf(box));
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    // Ticks run inside the box, silently.
    PumpFor(2500);
    EXPECT_EQ(program.Boxes().size(), 1u);
    PressOk(box);
    ASSERT_TRUE(PumpUntil([&] { return program.Boxes().empty(); }, 2000));

    ASSERT_TRUE(doc.BringToFront());
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), [](const std::wstring& t) { return ShowsName(t, L""); },
                             2500, "titles with an empty name"));
    PumpFor(1500);
    EXPECT_TRUE(program.Boxes().empty()) << "a second error box";

    // The list put in place: the next tick has the name.
    ASSERT_TRUE(CopyFileW(WinePath(TIKAVO_LIST).c_str(), program.listPath().c_str(), FALSE));
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), ShowsTodaysName(), 2500, "today's name once the list is in place"));
}

TEST(NameDaysE2E, AListDeletedWhileRunningIsReportedOnceAndTheNameStays)
{
    TestWindow doc(L"Dokument");
    ASSERT_TRUE(doc.BringToFront());
    Program program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(program.WaitForMainWindow(), nullptr);
    const auto showsName = ShowsTodaysName();
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), showsName, 2500, "today's name"));

    ASSERT_TRUE(DeleteFileW(program.listPath().c_str()));
    HWND box = program.WaitForBox("Error", 2500);
    ASSERT_NE(box, nullptr) << "the first failed open of the run is reported";
    EXPECT_EQ(BoxText(box), errorText);
    PressOk(box);
    ASSERT_TRUE(PumpUntil([&] { return program.Boxes().empty(); }, 2000));
    ASSERT_TRUE(doc.BringToFront());
    std::wstring seen = doc.Title();
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), [&](const std::wstring& t) { return t != seen && showsName(t); },
                             2500, "the name kept on the next ticks"));

    // Back, and deleted again: no second box.
    ASSERT_TRUE(CopyFileW(WinePath(TIKAVO_LIST).c_str(), program.listPath().c_str(), FALSE));
    PumpFor(1500);
    ASSERT_TRUE(DeleteFileW(program.listPath().c_str()));
    PumpFor(2500);
    EXPECT_TRUE(program.Boxes().empty()) << "a second error box";
    seen = doc.Title();
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), [&](const std::wstring& t) { return t != seen && showsName(t); },
                             2500, "the name still kept"));
}

TEST(NameDaysE2E, EditingInNotepadFreezesTheClockAndTheNextTitleHasTheNewName)
{
    // A folder with spaces: the path goes to notepad unquoted, whole.
    wchar_t folder[64];
    wsprintfW(folder, L"Tikavo T jmena %lu", GetCurrentProcessId());
    Program program(false, folder);
    ASSERT_TRUE(WriteBytes(program.listPath(), EveryDayList(Cp1250("Původní"))));
    TestWindow doc(L"Dokument");
    ASSERT_TRUE(doc.BringToFront());
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(TitleBecomes(doc.hwnd(), [](const std::wstring& t) { return ShowsName(t, Wide("Původní")); },
                             2500, "the list's name"));

    program.Command(IDM_EDIT_NAMES);
    HWND notepad = WaitForNotepad(10000);
    ASSERT_NE(notepad, nullptr) << "no notepad window on jmena.txt";
    struct Closer {
        HWND hwnd;
        ~Closer() { EndNotepad(hwnd); }
    } closer{ notepad };

    // While it is open the program ticks not at all: no title changes, and
    // the program does not answer.
    std::wstring docTitle = InternalTextOf(doc.hwnd());
    std::wstring notepadTitle = InternalTextOf(notepad);
    PumpFor(2500);
    EXPECT_EQ(InternalTextOf(doc.hwnd()), docTitle);
    EXPECT_EQ(InternalTextOf(notepad), notepadTitle);
    DWORD_PTR result = 0;
    EXPECT_EQ(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 300, &result), 0)
        << "the program answers while the editor is open";

    ASSERT_TRUE(WriteBytes(program.listPath(), EveryDayList(Cp1250("Nové jméno"))));
    EndNotepad(notepad);
    ASSERT_FALSE(IsWindow(notepad));
    ASSERT_TRUE(doc.BringToFront());
    docTitle = InternalTextOf(doc.hwnd());
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), [&](const std::wstring& t) { return t != docTitle; },
                             2500, "ticks again after the editor closed"));
    EXPECT_TRUE(ShowsName(doc.Title(), Wide("Nové jméno"))) << Utf8(doc.Title());
    EXPECT_TRUE(program.Boxes().empty());
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
        EXPECT_TRUE(TitleBecomes(doc.hwnd(), ShowsTodaysName(), 2500, "today's name"));
        EXPECT_TRUE(program.Boxes().empty());
    }
    // One more character: the list beside the program is never cut to fit,
    // it cannot be opened, and that is reported once.
    {
        Program program(true, FolderOfLength(246));
        ASSERT_EQ(program.folder().size(), 246u);
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForMainWindow(), nullptr);
        HWND box = program.WaitForBox("Error", 3000);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(BoxText(box), errorText);
        PressOk(box);
        PumpFor(2000);
        EXPECT_TRUE(program.Boxes().empty());
    }
}

}  // namespace
