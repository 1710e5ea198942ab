// The name-day list on disk beside the program: read while another program
// holds it open, and reported once, in a box of its own, when it cannot
// be opened.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "namedays/namedays.h"
#include "support/mainwindow.h"
#include "support/namelistfiles.h"

using namespace testsupport;

namespace {

// Each test starts without the list beside the program.
class NameDaysTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        listPath = ListPath();
        RemoveList();
    }
    bool WriteList(const std::string& bytes) { return WriteBytes(listPath, bytes); }

    // Presses OK in any box that opens, after letting its own loop run the
    // given number of inner ticks.
    void DismissBoxes(int innerTicks)
    {
        dismisser = std::make_unique<ModalDriver>("the list's error box to be closed", 10000, [this, innerTicks] {
            std::vector<HWND> open = dismisser->open();
            if (open.empty())
                return;
            oneButton = GetDlgItem(open.back(), IDOK) != nullptr && GetDlgItem(open.back(), IDCANCEL) == nullptr;
            if (static_cast<int>(innerResults.size()) < innerTicks) {
                innerResults.push_back(UpdateTodayName(6, 12));
                return;
            }
            PressOk(open.back());
        });
    }

    std::wstring listPath;
    std::unique_ptr<ModalDriver> dismisser;
    std::vector<bool> innerResults;
    bool oneButton = false;
};

TEST_F(NameDaysTest, TheListIsReadWhileAnotherProgramHoldsItOpenAndAgainOnceItIsSaved)
{
    DismissBoxes(0);
    ASSERT_TRUE(WriteList(Cp1250("06.12.;Mikuláš\r\n")));
    // An editor saving it holds it open for writing.
    HANDLE writer = CreateFileW(listPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(UpdateTodayName(6, 12));
    EXPECT_EQ(todayName, Cp1250("Mikuláš"));

    // Saved with a last-write time (in the system's 100-ns units from now):
    // the name the next tick has.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    auto nameAfterSaving = [writer, now](const char* line, LONGLONG fromNow) {
        ULARGE_INTEGER at = { { now.dwLowDateTime, now.dwHighDateTime } };
        at.QuadPart += fromNow;
        FILETIME written = { at.LowPart, at.HighPart };
        DWORD count = 0;
        EXPECT_TRUE(SetFilePointer(writer, 0, nullptr, FILE_BEGIN) == 0
                    && WriteFile(writer, line, static_cast<DWORD>(strlen(line)), &count, nullptr)
                    && SetEndOfFile(writer) && SetFileTime(writer, nullptr, nullptr, &written));
        EXPECT_TRUE(UpdateTodayName(6, 12));
        return todayName;
    };
    const LONGLONG hour = 36000000000;
    // Saved by any editor: the next tick reads it, also when it is put back
    // with an older write time (a backup copied over it).
    EXPECT_EQ(nameAfterSaving("06.12.;Nikolas\r\n", -hour), "Nikolas");
    // Changed with its last-write time and size kept, long after that time,
    // it is read again only when a lookup is due; a new size tells the save.
    EXPECT_EQ(nameAfterSaving("06.12.;Nikodem\r\n", -hour), "Nikolas");
    EXPECT_EQ(nameAfterSaving("06.12.;Nikodem a Ema\r\n", -hour), "Nikodem a Ema");
    // FAT keeps write times in steps of 2 s, rounded up: a save in the step of
    // the last read keeps both time and size, and shows on the next tick.
    EXPECT_EQ(nameAfterSaving("06.12.;Nikodem a Eva\r\n", 10000000), "Nikodem a Eva");
    EXPECT_EQ(nameAfterSaving("06.12.;Nikodem a Iva\r\n", 10000000), "Nikodem a Iva");
    CloseHandle(writer);
    EXPECT_TRUE(dismisser->boxes().empty()) << "the list could not be opened: " << dismisser->boxes()[0].text;
}

TEST_F(NameDaysTest, AMissingListIsReportedInOneBoxWhileTicksGoOnInsideIt)
{
    DismissBoxes(3);
    EXPECT_FALSE(UpdateTodayName(6, 12)) << "the tick that reports must end without a title";
    ASSERT_EQ(dismisser->boxes().size(), 1u);
    const BoxInfo& box = dismisser->boxes()[0];
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Cannot open the specify file jmena");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(oneButton) << "the box has one OK button";
    EXPECT_EQ(innerResults, (std::vector<bool>{ true, true, true })) << "ticks inside the box write titles";

    // Put in place: the next tick has the name.
    ASSERT_TRUE(WriteList(Cp1250("06.12.;Mikuláš\r\n")));
    EXPECT_TRUE(UpdateTodayName(6, 12));
    EXPECT_EQ(todayName, Cp1250("Mikuláš"));
    EXPECT_EQ(dismisser->boxes().size(), 1u);
}

TEST_F(NameDaysTest, TheTickThatReportsTheMissingListWritesNoTitle)
{
    TestWindow doc(L"Dokument");
    ASSERT_TRUE(doc.BringToFront());
    MakeMainWindow(false);
    DismissBoxes(0);
    RunTick(main);
    ASSERT_EQ(dismisser->boxes().size(), 1u);
    EXPECT_EQ(doc.Title(), L"Dokument") << "the tick that reported the missing list wrote a title";
    ASSERT_TRUE(doc.BringToFront());
    RunTick(main);
    EXPECT_TRUE(StartsWith(doc.Title(), L"Dokument  * ")) << "the next tick writes it: " << Utf8(doc.Title());
}

}  // namespace
