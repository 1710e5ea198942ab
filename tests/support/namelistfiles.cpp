#include "support/namelistfiles.h"

#include <cstdio>

#include "support/memorylist.h"
#include "support/winsupport.h"

namespace testsupport {

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
              && written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::string EveryDayList(const std::string& name)
{
    static const int daysIn[12] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    std::string list;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= daysIn[month - 1]; ++day) {
            char date[16];
            std::snprintf(date, sizeof date, "%02d.%02d.;", day, month);
            list += date + name + "\r\n";
        }
    }
    return list;
}

std::wstring ShippedName(int day, int month)
{
    const std::string bytes = "\n" + ReadWholeFile(TIKAVO_LIST).substr(3);   // after the byte-order mark
    char start[16];
    std::snprintf(start, sizeof start, "\n%02d.%02d.;", day, month);
    std::size_t at = bytes.find(start);
    if (at == std::string::npos)
        return std::wstring();
    at += 8;
    std::string name = bytes.substr(at, bytes.find_first_of("\r\n", at) - at);
    std::wstring wide(name.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

bool ShowsName(const std::wstring& title, const std::wstring& name)
{
    return StartsWith(title, L"Dokument  * ") && EndsWith(title, L" * " + name + L" *");
}

namespace {
BOOL CALLBACK FindNotepad(HWND hwnd, LPARAM lParam)
{
    if (IsWindowVisible(hwnd) && ClassNameOf(hwnd) == "Notepad"
        && WideTextOf(hwnd).find(L"jmena.txt") != std::wstring::npos) {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND WaitForNotepad(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND found = nullptr;
        EnumWindows(FindNotepad, reinterpret_cast<LPARAM>(&found));
        if (found || GetTickCount() - start >= timeoutMs)
            return found;
        Sleep(50);
    }
}

void EndLeftNotepads()
{
    for (int i = 0; i < 4; ++i)
        EndNotepad(WaitForNotepad(0));
}

void EndNotepad(HWND notepad)
{
    if (!notepad || !IsWindow(notepad))
        return;
    DWORD pid = 0;
    GetWindowThreadProcessId(notepad, &pid);
    PostMessageW(notepad, WM_CLOSE, 0, 0);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (!process)
        return;
    if (WaitForSingleObject(process, 3000) == WAIT_TIMEOUT)
        TerminateProcess(process, 1);
    CloseHandle(process);
}

}  // namespace testsupport
