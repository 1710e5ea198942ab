// The real Tikavo_T.exe, started as a process of its own from a temporary
// folder, for end-to-end tests.
#ifndef TIKAVO_TESTS_PROGRAM_H
#define TIKAVO_TESTS_PROGRAM_H

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class Program {
public:
    // Prepares a fresh temporary folder holding a copy of the executable (or
    // of another build of it) and, when withList is true, of the shipped
    // name-day list.
    explicit Program(bool withList = true, const char* exe = TIKAVO_EXE);
    // The same in a folder of the given name (one path component) directly
    // in the temporary folder, e.g. to give the program a path with spaces
    // or of a chosen length.
    Program(bool withList, const std::wstring& folderName);
    // Ends the process if it still runs and removes the folder.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    const std::wstring& folder() const { return folder_; }
    std::wstring exePath() const { return folder_ + L"\\Tikavo_T.exe"; }
    std::wstring listPath() const { return folder_ + L"\\jmena.txt"; }

    // Starts the program, having ended every copy an earlier test left
    // running; false when the process could not be created.
    bool Start();
    // Starts it beside the copies that run.
    bool StartBeside();
    // Starts another process of the same executable; returns its handle.
    HANDLE StartAnother();
    // Waits until the program's hidden main window exists.
    HWND WaitForMainWindow(DWORD timeoutMs = 10000);
    HWND mainWindow() const { return main_; }
    DWORD pid() const { return pid_; }
    HANDLE process() const { return process_; }

    // Posts a menu command to the main window.
    void Command(WORD id) const;
    // Waits for the process to end; returns its exit code or -1 on timeout.
    long WaitForExit(DWORD timeoutMs);
    bool Running() const;

    // The top-level dialog windows (#32770) of the program's process.
    std::vector<HWND> Boxes() const;
    // Waits for the program's dialog window whose caption is the given one,
    // also once the clock has been written behind it; nullptr on timeout,
    // with the captions last seen in *seen.
    HWND WaitForBox(const char* caption, DWORD timeoutMs, std::string* seen = nullptr) const;

private:
    void CopyProgram(bool withList, const char* exe = TIKAVO_EXE);
    std::wstring folder_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND main_ = nullptr;
};

// The main windows of every running Tikavo_T of any version (class
// "Tikavo_T <version>").
std::vector<HWND> FindTikavoWindows();

}  // namespace testsupport

#endif
