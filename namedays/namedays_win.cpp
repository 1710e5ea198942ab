// The list on disk and its editor.
#include "namedays/namedays.h"

#include <cwchar>
#include <vector>

#include "common/program.h"
#include "namedays/namelist.h"

NameDayCalls nameDayCalls;

namespace {

NameDays nameDays;   // the run's; read by the rest of the program as todayName

// Wide text throughout: the program's folder may have any name Windows
// allows, whatever the system's code page (a folder "Jiří Novák" on a
// Windows of code page 1252).
const wchar_t listFileName[] = L"jmena.txt";
// The longest path of the list that is opened; a longer one counts as a
// list that cannot be opened (it is never cut).
constexpr std::size_t maxListPath = 255;

// The list as the last read found it: its last-write time and size, and
// when that read came (in the system's 100-ns units).
struct {
    ULONGLONG writtenAt, size, readAt;
} listSeen;
constexpr ULONGLONG twoSeconds = 20000000;

ULONGLONG Units(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The program's directory with one "\" at its end into szPath (MAX_PATH).
bool ProgramDirectory(wchar_t* szPath)
{
    DWORD length = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;   // a cut path would name another folder
    PathRemoveFileSpecW(szPath);
    // A drive's root keeps its one "\"; a path with no room for it fails.
    return szPath[0] != L'\0' && PathAddBackslashW(szPath) != nullptr;
}

// The list as one tick opens it.
struct ListFile {
    HANDLE finSoubor;
};

ListOpen OpenList(void* context)
{
    auto* list = static_cast<ListFile*>(context);
    wchar_t szPath[MAX_PATH];
    if (!ProgramDirectory(szPath) || std::wcslen(szPath) + std::wcslen(listFileName) > maxListPath)
        return ListOpen::failed;
    std::wcscat(szPath, listFileName);
    // Read only, and other programs (the editor above all) may go on
    // reading, writing, replacing or deleting the list meanwhile.
    list->finSoubor = CreateFileW(szPath, GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (list->finSoubor == INVALID_HANDLE_VALUE)
        return ListOpen::failed;
    // A list saved since is read again, whatever saved it: Windows 11's
    // Notepad opens it in a tab of a Notepad already open while the one
    // started for it ends at once, and other editors tell nobody. Saved
    // since: another write time, older ones too (a backup copied over it),
    // another size, or, while the last read came within 2 s of the write
    // time (either side), any tick: FAT keeps write times in steps of 2 s,
    // rounded up, so a save in the step of that read keeps both.
    FILETIME written, now;
    LARGE_INTEGER size;
    if (GetFileTime(list->finSoubor, nullptr, nullptr, &written) && GetFileSizeEx(list->finSoubor, &size)) {
        ULONGLONG at = Units(written);
        ULONGLONG readApart = listSeen.readAt > at ? listSeen.readAt - at : at - listSeen.readAt;
        if (at != listSeen.writtenAt || static_cast<ULONGLONG>(size.QuadPart) != listSeen.size
            || readApart < twoSeconds) {
            GetSystemTimeAsFileTime(&now);
            listSeen = { at, static_cast<ULONGLONG>(size.QuadPart), Units(now) };
            return ListOpen::saved;
        }
    }
    return ListOpen::opened;
}

std::size_t ReadList(void* context, char* buffer, std::size_t size)
{
    auto* list = static_cast<ListFile*>(context);
    DWORD got = 0;
    if (!ReadFile(list->finSoubor, buffer, static_cast<DWORD>(size), &got, nullptr))
        return 0;   // e.g. a region locked by another program: the list ends here
    return got;
}

void CloseList(void* context)
{
    CloseHandle(static_cast<ListFile*>(context)->finSoubor);
}

void ReportListError(void*)
{
    MessageBoxA(nullptr, "Cannot open the specify file jmena", "Error", MB_OK);
}

// The directory of the program followed by one "\"; empty when the
// program's path cannot be had.
std::wstring GetProgramDirectory()
{
    wchar_t szPath[MAX_PATH];
    return ProgramDirectory(szPath) ? szPath : L"";
}

// The processes of the editors "Editace jmen" started that may still run.
std::vector<HANDLE> editors;

// An editor that has ended since the last tick has the list read again, as
// if it saved it (a save is noticed anyway, whatever saved it).
void ReadAgainAfterEditors()
{
    for (auto editor = editors.begin(); editor != editors.end();) {
        if (WaitForSingleObject(*editor, 0) == WAIT_TIMEOUT) {
            ++editor;
            continue;
        }
        CloseHandle(*editor);
        editor = editors.erase(editor);
        RequestLookupAfterEdit(nameDays);
    }
}

}  // namespace

const std::string& todayName = nameDays.todayName;

bool UpdateTodayName(int day, int month)
{
    ReadAgainAfterEditors();
    ListFile list = { INVALID_HANDLE_VALUE };
    const NameListAccess access = { OpenList, ReadList, CloseList, ReportListError, &list };
    return RunNameDayStep(nameDays, day, month, access);
}

void EditNameList()
{
    std::wstring stPathExe = GetProgramDirectory();
    // Windows' own Notepad, by its full path.
    wchar_t szEditor[MAX_PATH];
    if (!stPathExe.empty() && SystemFilePath(L"notepad.exe", szEditor)) {
        // Quoted (no path holds a quote): Windows 11's Notepad, and an editor
        // set up in Notepad's place, split an unquoted path at its spaces.
        std::wstring stParameters = L"\"" + stPathExe + listFileName + L"\"";
        SHELLEXECUTEINFOW sh = {};
        sh.cbSize = sizeof sh;
        sh.fMask = SEE_MASK_NOCLOSEPROCESS;
        sh.lpFile = szEditor;
        sh.lpParameters = stParameters.c_str();
        sh.nShow = SW_SHOW;
        // Not waited for: the clock, the countdown, the alarm, the menu and
        // the exit go on while the list is open, for hours if the user leaves
        // it so. The ticks watch the process and read the list again once it
        // has ended (ReadAgainAfterEditors).
        if (nameDayCalls.startEditor(&sh) && sh.hProcess) {
            editors.push_back(sh.hProcess);
            return;
        }
    }
    // Not started (the shell has shown why), or handed to a Notepad already
    // open: read again at the next tick all the same.
    RequestLookupAfterEdit(nameDays);
}
