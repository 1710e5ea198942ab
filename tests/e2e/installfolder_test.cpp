// The program unzipped into a user's folder, as on Windows 10 and 11: a
// folder named with Czech letters whatever the system's code page, and
// files lying in that folder that must never run.
// Runs under code pages 1250 and 1252.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include "res/resource.h"
#include "support/namelistfiles.h"
#include "support/program.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

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
        ASSERT_TRUE(TitleBecomes(doc.hwnd(), [name](const std::wstring& t) { return ShowsName(t, Wide(name)); },
                                 10000, "the list's name in the title"));
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
    // The list itself (its path, with a space, handed on whole), not a new
    // file of a garbled name.
    std::string text = SentTextOf(FindWindowExW(notepad, nullptr, L"Edit", nullptr));
    EXPECT_EQ(text.rfind("01.01.;", 0), 0u) << "notepad shows: " << text;
    // While it is open the clock goes on: a save shows within a second. The
    // exit command ends the program and leaves Notepad open, and the window
    // in front has its own title back.
    ASSERT_TRUE(WriteBytes(program.listPath(), EveryDayList(Cp1250("Nové jméno"))));
    ASSERT_TRUE(doc.BringToFront());
    EXPECT_TRUE(TitleBecomes(doc.hwnd(), [](const std::wstring& t) { return ShowsName(t, Wide("Nové jméno")); },
                             10000, "the new name while notepad is open"));
    program.Command(IDM_EXIT);
    EXPECT_EQ(program.WaitForExit(10000), 0) << "the exit command did not end the program";
    EXPECT_TRUE(IsWindow(notepad)) << "notepad closed with the program";
    EXPECT_EQ(Utf8(InternalTextOf(doc.hwnd())), "Dokument");
}

// Files of the test's own beside the program, which write a line into a log
// whenever they run: the multimedia library the program loads itself, the
// theme library the system loads into it for its windows (neither is one of
// Windows' known libraries), and notepad.exe. Wine is made to look for the
// two libraries as Windows does, in the program's folder first (the
// registry's form of WINEDLLOVERRIDES=winmm,uxtheme=n,b, which a program
// cannot hand on to the programs it starts). Undone when this object goes.
class Planted {
public:
    explicit Planted(const std::wstring& folder) : log_(folder + L"\\planted.log")
    {
        const std::wstring library = WinePath(TIKAVO_PLANTED) + L".dll", program = WinePath(TIKAVO_PLANTED) + L".exe";
        copied_ = CopyFileW(library.c_str(), (folder + L"\\winmm.dll").c_str(), FALSE)
                  && CopyFileW(library.c_str(), (folder + L"\\uxtheme.dll").c_str(), FALSE)
                  && CopyFileW(program.c_str(), (folder + L"\\notepad.exe").c_str(), FALSE);
        SetEnvironmentVariableW(L"TIKAVO_PLANTED_LOG", log_.c_str());
        for (const wchar_t* name : { L"winmm", L"uxtheme" })
            RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Tikavo_T.exe\\DllOverrides", name,
                            REG_SZ, L"native,builtin", sizeof L"native,builtin");
    }
    ~Planted()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Tikavo_T.exe");
        SetEnvironmentVariableW(L"TIKAVO_PLANTED_LOG", nullptr);
    }
    bool copied() const { return copied_; }
    // One line for each run: the planted file's path and the command line of
    // the process it ran in.
    std::string Log() const
    {
        HANDLE file = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        char bytes[4096];
        DWORD got = 0;
        if (file != INVALID_HANDLE_VALUE) {
            ReadFile(file, bytes, sizeof bytes, &got, nullptr);
            CloseHandle(file);
        }
        return std::string(bytes, got);
    }
private:
    std::wstring log_;
    bool copied_;
};

// The folder a running process has a library loaded from; empty when it has
// none of that name.
std::wstring LoadedFrom(DWORD pid, const wchar_t* library)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    std::wstring path;
    MODULEENTRY32W module = { sizeof module };
    for (BOOL more = Module32FirstW(snapshot, &module); more; more = Module32NextW(snapshot, &module)) {
        if (lstrcmpiW(module.szModule, library) == 0)
            path = module.szExePath;
    }
    CloseHandle(snapshot);
    return path.substr(0, path.rfind(L'\\'));
}

TEST_F(InstallFolder, LibrariesAndANotepadLyingBesideTheProgramNeverRun)
{
    Planted planted(program.folder());
    ASSERT_TRUE(planted.copied());
    Start("Původní");
    ASSERT_EQ(planted.Log(), "") << "ran from the program's folder";

    // A countdown of no time at all rings on the next tick, with the bell.
    program.Command(IDM_COUNTDOWN);
    std::string seen;
    HWND dlg = program.WaitForBox("Timerset", 3000, &seen);
    ASSERT_NE(dlg, nullptr) << "no countdown dialog; dialogs: " << seen;
    HWND picker = GetDlgItem(dlg, IDC_TIMEPICKER);
    PressKey(dlg, VK_TAB, 2);
    PressKey(picker, VK_RIGHT, 2);
    PressKey(picker, VK_DOWN);
    ASSERT_TRUE(PumpUntil([&] { return SentTextOf(picker) == "00:00:00"; }, 10000)) << SentTextOf(picker);
    PressOk(dlg);
    HWND ring = program.WaitForBox("Alaram Tikavo_T", 5000, &seen);
    ASSERT_NE(ring, nullptr) << "the countdown did not ring; dialogs: " << seen;
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(Utf8(LoadedFrom(program.pid(), L"winmm.dll")), Utf8(system));
    PressOk(ring);

    program.Command(IDM_EDIT_NAMES);
    HWND notepad = WaitForNotepad(10000);
    EXPECT_NE(notepad, nullptr) << "no notepad window on jmena.txt";
    EndNotepad(notepad);

    EXPECT_EQ(planted.Log(), "") << "ran from the program's folder";
}

}  // namespace
