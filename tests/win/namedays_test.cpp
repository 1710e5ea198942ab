// The name-day list on disk beside the program: opened on every tick,
// reported once when it cannot be opened, bad lists survived, and edited in
// notepad with the clock standing still meanwhile.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "namedays/namedays.h"
#include "res/resource.h"
#include "support/mainwindow.h"
#include "support/namelistfiles.h"

using namespace testsupport;

namespace {

const char errorText[] = "Cannot open the specify file jmena";

// Each test starts without the list beside the program.
class NameDaysTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        directory = GetProgramDirectory();
        ASSERT_FALSE(directory.empty());
        listPath = ListPath();
        ASSERT_EQ(listPath, directory + L"jmena.txt");
        RemoveList();
    }
    bool WriteList(const std::string& bytes) { return WriteBytes(listPath, bytes); }

    // A tick's step 7 that must take well under a second.
    bool QuickStep(int day, int month)
    {
        DWORD start = GetTickCount();
        bool goesOn = UpdateTodayName(day, month);
        DWORD took = GetTickCount() - start;
        EXPECT_LT(took, 1000u) << "step 7 on " << day << "." << month << ". took " << took << " ms";
        return goesOn;
    }

    // Presses OK in any box that opens, after letting its own loop run the
    // given number of inner ticks.
    void DismissBoxes(int innerTicks)
    {
        dismisser = std::make_unique<ModalDriver>("the list's error box to be closed", 10000, [this, innerTicks] {
            std::vector<HWND> open = dismisser->open();
            if (open.empty())
                return;
            flagInside = listErrorShown;
            oneButton = GetDlgItem(open.back(), IDOK) != nullptr && GetDlgItem(open.back(), IDCANCEL) == nullptr;
            if (static_cast<int>(innerResults.size()) < innerTicks) {
                innerResults.push_back(UpdateTodayName(6, 12));
                return;
            }
            PressOk(open.back());
        });
    }

    std::wstring directory;
    std::wstring listPath;
    std::unique_ptr<ModalDriver> dismisser;
    std::vector<bool> innerResults;
    int flagInside = -1;
    bool oneButton = false;
};

TEST_F(NameDaysTest, TheListBesideTheProgramIsReadOnlyWhenALookupIsDue)
{
    DismissBoxes(0);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    ASSERT_EQ(directory.back(), L'\\');
    EXPECT_EQ(std::wstring(exe).substr(0, directory.size()), directory);
    EXPECT_EQ(std::wstring(exe).find(L'\\', directory.size()), std::wstring::npos) << Utf8(exe);

    ASSERT_TRUE(WriteList(Cp1250("05.12.;Jitka\r\n06.12.;Mikuláš\r\n")));
    EXPECT_TRUE(QuickStep(6, 12));
    EXPECT_EQ(todayName, Cp1250("Mikuláš"));

    // Saved again by any editor: the next tick reads it.
    ASSERT_TRUE(WriteList(Cp1250("06.12.;Nikolas\r\n")));
    EXPECT_TRUE(QuickStep(6, 12));
    EXPECT_EQ(todayName, "Nikolas");
    // Changed with its last-write time kept: the day's later ticks do not
    // read it...
    HANDLE file = CreateFileW(listPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME written;
    DWORD count = 0;
    ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &written));
    ASSERT_TRUE(WriteFile(file, "06.12.;Nikodem", 14, &count, nullptr));
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(QuickStep(6, 12));
    EXPECT_EQ(todayName, "Nikolas");
    // ...the first tick after an edit does.
    listEdited = 1;
    editLookupDone = 0;
    EXPECT_TRUE(QuickStep(6, 12));
    EXPECT_EQ(todayName, "Nikodem");
    EXPECT_EQ(listEdited, 0);
    EXPECT_EQ(editLookupDone, 1);

    // Held open for writing by another program (an editor saving it), the
    // list is still read on the next day.
    HANDLE writer = CreateFileW(listPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(WriteList(Cp1250("07.12.;Ambrož\r\n")));
    EXPECT_TRUE(QuickStep(7, 12));
    CloseHandle(writer);
    EXPECT_EQ(todayName, Cp1250("Ambrož"));
    EXPECT_EQ(listErrorShown, 0);
    EXPECT_TRUE(dismisser->boxes().empty()) << "the list could not be opened: " << dismisser->boxes()[0].text;
}

TEST_F(NameDaysTest, AMissingListIsReportedInOneBoxWhileTicksGoOnInsideIt)
{
    DismissBoxes(3);
    EXPECT_FALSE(UpdateTodayName(6, 12)) << "the tick that reports must end without a title";
    ASSERT_EQ(dismisser->boxes().size(), 1u);
    const BoxInfo& box = dismisser->boxes()[0];
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, errorText);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(oneButton) << "the box has one OK button";
    EXPECT_EQ(flagInside, 1) << "the report is marked before the box shows";
    EXPECT_EQ(innerResults, (std::vector<bool>{ true, true, true })) << "ticks inside the box write titles";

    // Later ticks are silent and go on, with no name.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(QuickStep(6, 12));
    EXPECT_EQ(todayName, "");

    // Put in place: the next tick has the name.
    ASSERT_TRUE(WriteList(Cp1250("06.12.;Mikuláš\r\n07.12.;Ambrož\r\n")));
    EXPECT_TRUE(QuickStep(6, 12));
    EXPECT_EQ(todayName, Cp1250("Mikuláš"));

    // Deleted while running: no second box, the name stays past midnight.
    RemoveList();
    EXPECT_TRUE(QuickStep(6, 12));
    EXPECT_TRUE(QuickStep(7, 12));
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

TEST_F(NameDaysTest, BadListsNeverStopTheClock)
{
    DismissBoxes(0);

    // A folder where the list should be cannot be opened: the one box.
    ASSERT_TRUE(CreateDirectoryW(listPath.c_str(), nullptr));
    EXPECT_FALSE(QuickStep(1, 1));
    EXPECT_EQ(dismisser->boxes().size(), 1u);
    EXPECT_TRUE(QuickStep(1, 1));
    RemoveDirectoryW(listPath.c_str());

    // Binary garbage.
    std::string garbage;
    unsigned seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage += static_cast<char>(seed >> 16);
    }
    ASSERT_TRUE(WriteList(garbage));
    EXPECT_TRUE(QuickStep(2, 1));

    // One endless line.
    ASSERT_TRUE(WriteList("02.01.;" + std::string(20 * 1000 * 1000, 'x')));
    EXPECT_TRUE(QuickStep(3, 1));
    EXPECT_EQ(todayName, "");

    // A list of a gigabyte: its first line still gives the name, and every
    // tick costs no more than the lines it may read.
    {
        HANDLE file = CreateFileW(listPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const char first[] = "04.01.;Diana\r\n";
        DWORD written = 0;
        WriteFile(file, first, sizeof first - 1, &written, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = 1024LL * 1024 * 1024;
        ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file));
        CloseHandle(file);
    }
    EXPECT_TRUE(QuickStep(4, 1));
    EXPECT_EQ(todayName, "Diana");
    EXPECT_TRUE(QuickStep(5, 1));
    EXPECT_EQ(todayName, "");
    EXPECT_TRUE(QuickStep(5, 1));

    // Locked by another program that denies everyone else: like a missing
    // list, and the box has already been shown.
    ASSERT_TRUE(WriteList("06.01.;T\xF8i kr\xE1lov\xE9\r\n"));   // Tři králové
    HANDLE locker = CreateFileW(listPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locker, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(QuickStep(6, 1));
    EXPECT_EQ(todayName, "");   // the 5 January lookup's result stays
    // A range locked inside an open list reads as its end.
    CloseHandle(locker);
    locker = CreateFileW(listPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locker, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(LockFile(locker, 0, 0, 4096, 0));
    EXPECT_TRUE(QuickStep(7, 1));
    UnlockFile(locker, 0, 0, 4096, 0);
    CloseHandle(locker);
    EXPECT_TRUE(QuickStep(6, 1));
    EXPECT_EQ(todayName, "T\xF8i kr\xE1lov\xE9");

    EXPECT_EQ(dismisser->boxes().size(), 1u) << "every bad list after the first is silent";
}

// The tick's clock, counting ticks and fixed on 6 December.
void WINAPI SaintNicholasClock(LPSYSTEMTIME now)
{
    MainWindowTest::CountingClock(now);
    now->wDay = 6;
    now->wMonth = 12;
}

// What a second thread saw while the program waited for the editor.
struct EditorWatch {
    std::wstring listPath;
    HWND notepad = nullptr;
    int ticksWhenOpen = -1;
    int ticksBeforeClose = -1;
    bool rewritten = false;
    std::atomic<bool> closing{ false };   // set just before notepad is asked to close
};

DWORD WINAPI WatchEditor(LPVOID parameter)
{
    auto* watch = static_cast<EditorWatch*>(parameter);
    watch->notepad = WaitForNotepad(15000);
    if (!watch->notepad)
        return 0;
    watch->ticksWhenOpen = MainWindowTest::ticksSeen;
    Sleep(2500);
    watch->ticksBeforeClose = MainWindowTest::ticksSeen;
    watch->rewritten = WriteBytes(watch->listPath, EveryDayList(Cp1250("Nový Mikuláš")));
    watch->closing = true;
    EndNotepad(watch->notepad);
    return 0;
}

TEST_F(NameDaysTest, EditingStartsNotepadOnTheListAndNoTickRunsUntilItCloses)
{
    readLocalTime = SaintNicholasClock;
    MakeMainWindow();

    ASSERT_TRUE(WriteList(EveryDayList(Cp1250("Mikuláš"))));
    ASSERT_TRUE(PumpUntil([] { return ticksSeen >= 1 && todayName == Cp1250("Mikuláš"); }, 3000))
        << "ticks: " << ticksSeen << ", name: " << todayName;

    EditorWatch watch;
    watch.listPath = listPath;
    HANDLE watcher = CreateThread(nullptr, 0, WatchEditor, &watch, 0, nullptr);
    ASSERT_NE(watcher, nullptr);
    SendMessageW(main, WM_COMMAND, IDM_EDIT_NAMES, 0);
    bool returnedAfterClose = watch.closing;
    WaitForSingleObject(watcher, 20000);
    CloseHandle(watcher);

    ASSERT_NE(watch.notepad, nullptr) << "no notepad window with jmena.txt in its title";
    EXPECT_TRUE(returnedAfterClose) << "the command came back while the editor was still open";
    EXPECT_EQ(watch.ticksBeforeClose, watch.ticksWhenOpen) << "ticks ran while the editor was open";
    EXPECT_TRUE(watch.rewritten);
    EXPECT_EQ(listEdited, 1);
    EXPECT_EQ(editLookupDone, 0);
    EXPECT_EQ(todayName, Cp1250("Mikuláš"));

    // The first tick after it reads the list again, on the same day.
    int before = ticksSeen;
    EXPECT_TRUE(PumpUntil([before] { return ticksSeen > before; }, 3000));
    EXPECT_EQ(todayName, Cp1250("Nový Mikuláš"));
    EXPECT_EQ(listEdited, 0);
    EXPECT_EQ(editLookupDone, 1);
}

}  // namespace
