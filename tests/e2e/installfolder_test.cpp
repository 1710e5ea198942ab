// The program unzipped into a user's folder, as on Windows 10 and 11: a
// folder named with Czech letters whatever the system's code page.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "res/resource.h"
#include "support/namelistfiles.h"
#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

bool ShowsName(const std::wstring& title, const char* name)
{
    return StartsWith(title, L"Dokument  * ") && EndsWith(title, L" * " + Wide(name) + L" *");
}

// The program in a folder "Jiří Novák" (ř has no place in code page 1252,
// í and á have), with a list of its own and a document in front.
class InstallFolder : public ::testing::Test {
protected:
    void Start(const char* name)
    {
        ASSERT_TRUE(WriteBytes(program.listPath(), EveryDayList(Cp1250(name))));
        ASSERT_TRUE(doc.BringToFront());
        ASSERT_TRUE(program.Start());
        ASSERT_NE(program.WaitForMainWindow(), nullptr);
        ASSERT_TRUE(TitleBecomes(doc.hwnd(), [name](const std::wstring& t) { return ShowsName(t, name); },
                                 2500, "the list's name in the title"));
        EXPECT_TRUE(program.Boxes().empty()) << "a box at the start";
    }

    Program program{ false, L"Ji\u0159\u00ED Nov\u00E1k" };
    TestWindow doc{ L"Dokument" };
};

TEST_F(InstallFolder, TheListBesideTheProgramIsReadAndEditedInNotepad)
{
    Start("Původní");

    program.Command(IDM_EDIT_NAMES);
    HWND notepad = WaitForNotepad(10000);
    ASSERT_NE(notepad, nullptr) << "no notepad window on jmena.txt";
    struct Closer {
        HWND hwnd;
        ~Closer() { EndNotepad(hwnd); }
    } closer{ notepad };
    // The list itself, not a new file of a garbled name.
    std::string text = SentTextOf(FindWindowExW(notepad, nullptr, L"Edit", nullptr));
    EXPECT_EQ(text.rfind("01.01.;", 0), 0u) << "notepad shows: " << text;

    ASSERT_TRUE(WriteBytes(program.listPath(), EveryDayList(Cp1250("Nové jméno"))));
    EndNotepad(notepad);
    ASSERT_TRUE(doc.BringToFront());
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), [](const std::wstring& t) { return ShowsName(t, "Nové jméno"); },
                             2500, "the new name once notepad has closed"));
    EXPECT_TRUE(program.Boxes().empty());
}

}  // namespace
