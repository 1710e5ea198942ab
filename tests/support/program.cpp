#include "support/program.h"

#include "support/namelistfiles.h"
#include "support/winsupport.h"

namespace testsupport {

namespace {
const char mainClassPrefix[] = "Tikavo_T ";

std::wstring MakeTempFolder()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        wchar_t name[MAX_PATH];
        wsprintfW(name, L"%stikavo-%lu-%lu-%u", base, GetCurrentProcessId(), GetTickCount(), counter++);
        if (CreateDirectoryW(name, nullptr))
            return name;
    }
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path);
            else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// The job every program a test starts belongs to: when the test's process
// ends, however it ends, the system ends them too.
HANDLE TestJob()
{
    static HANDLE job = [] {
        HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return created;
    }();
    return job;
}

HANDLE Launch(const std::wstring& exe, const std::wstring& folder, DWORD* pid)
{
    STARTUPINFOW si = { sizeof si };
    PROCESS_INFORMATION pi = {};
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.c_str(), &si, &pi))
        return nullptr;
    AssignProcessToJobObject(TestJob(), pi.hProcess);
    ResumeThread(pi.hThread);
    CloseHandle(pi.hThread);
    if (pid)
        *pid = pi.dwProcessId;
    return pi.hProcess;
}

// Ends a program left running by an earlier test (one killed half-way), and
// its editor: the prefix belongs to this build tree, so every Tikavo_T in it
// is one of ours.
void EndStalePrograms()
{
    EndLeftNotepads();
    for (HWND stale : FindTikavoWindows()) {
        DWORD pid = 0;
        GetWindowThreadProcessId(stale, &pid);
        if (pid == GetCurrentProcessId())
            continue;   // a copy the test plays itself
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            TerminateProcess(process, 98);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

BOOL CALLBACK CollectTikavo(HWND hwnd, LPARAM lParam)
{
    if (ClassNameOf(hwnd).rfind(mainClassPrefix, 0) == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

struct BoxSearch { DWORD pid; std::vector<HWND> found; };

BOOL CALLBACK CollectBoxes(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<BoxSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && IsWindowVisible(hwnd) && ClassNameOf(hwnd) == "#32770")
        search->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

Program::Program(bool withList, const char* exe) : folder_(MakeTempFolder())
{
    CopyProgram(withList, exe);
}

Program::Program(bool withList, const std::wstring& folderName)
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    folder_ = base + folderName;
    RemoveFolder(folder_);
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyProgram(withList);
}

void Program::CopyProgram(bool withList, const char* exe)
{
    CopyFileW(WinePath(exe).c_str(), exePath().c_str(), FALSE);
    if (withList)
        CopyFileW(WinePath(TIKAVO_LIST).c_str(), listPath().c_str(), FALSE);
}

Program::~Program()
{
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
    RemoveFolder(folder_);
}

bool Program::Start()
{
    EndStalePrograms();
    return StartBeside();
}

bool Program::StartBeside()
{
    process_ = Launch(exePath(), folder_, &pid_);
    return process_ != nullptr;
}

HANDLE Program::StartAnother()
{
    return Launch(exePath(), folder_, nullptr);
}

HWND Program::WaitForMainWindow(DWORD timeoutMs)
{
    PumpUntil([this] {
        for (HWND hwnd : FindTikavoWindows()) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == pid_)
                main_ = hwnd;
        }
        return main_ != nullptr;
    }, timeoutMs);
    return main_;
}

void Program::Command(WORD id) const
{
    PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

long Program::WaitForExit(DWORD timeoutMs)
{
    bool ended = PumpUntil([this] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }, timeoutMs);
    if (!ended)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
}

bool Program::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> Program::Boxes() const
{
    BoxSearch search{ pid_, {} };
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::WaitForBox(const char* caption, DWORD timeoutMs, std::string* seen) const
{
    const std::string wanted = caption;
    HWND found = nullptr;
    PumpUntil([&] {
        std::string captions;
        for (HWND box : Boxes()) {
            std::string title = NarrowTextOf(box);
            captions += "\"" + title + "\" ";
            if (title == wanted || title.rfind(wanted + " ", 0) == 0)
                found = box;
        }
        if (seen)
            *seen = captions;
        return found != nullptr;
    }, timeoutMs);
    return found;
}

std::vector<HWND> FindTikavoWindows()
{
    std::vector<HWND> found;
    EnumWindows(CollectTikavo, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace testsupport
