// A file planted where the program must never run code from, built as
// planted.dll and planted.exe and copied under the names the program must
// not take from there (winmm.dll, notepad.exe, ...). Loaded or started, it
// appends one line to the file named by TIKAVO_PLANTED_LOG: its own path, a
// tab, and the command line of the process it runs in. Nothing else; the
// program ends at once, as Windows 11's notepad.exe does once it has handed
// its file to the Notepad already open.
#include <windows.h>

static void Record(HMODULE self)
{
    wchar_t log[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"TIKAVO_PLANTED_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    wchar_t line[2 * MAX_PATH + 1024];
    DWORD n = GetModuleFileNameW(self, line, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    lstrcpynW(line + n, L"\t", 2);
    lstrcpynW(line + n + 1, GetCommandLineW(), static_cast<int>(ARRAYSIZE(line) - n - 3));
    lstrcatW(line, L"\n");
    char utf8[sizeof line * 2];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8, nullptr, nullptr) - 1;
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (bytes > 0)
        WriteFile(file, utf8, static_cast<DWORD>(bytes), &written, nullptr);
    CloseHandle(file);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Record(self);
    return TRUE;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    Record(nullptr);
    return 0;
}
