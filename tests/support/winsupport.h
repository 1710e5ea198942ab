// Helpers for tests that drive real windows, message boxes and the program
// itself under Wine.
#ifndef TIKAVO_TESTS_WINSUPPORT_H
#define TIKAVO_TESTS_WINSUPPORT_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Dispatches this thread's messages until cond() holds or timeoutMs passes;
// returns whether cond() held. Never a fixed sleep: the condition is polled
// between messages, at least every 10 ms.
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs);
// Dispatches this thread's messages for a while (for "nothing happens" checks).
void PumpFor(DWORD ms);

// Runs fn every intervalMs on this thread, also while a modal loop (a
// message box, a dialog, a menu) is running on it.
class ThreadTicker {
public:
    ThreadTicker(UINT intervalMs, std::function<void()> fn);
    ~ThreadTicker();
    ThreadTicker(const ThreadTicker&) = delete;
    ThreadTicker& operator=(const ThreadTicker&) = delete;
private:
    UINT_PTR id_;
};

// A dialog window (message box or dialog) as seen when it was activated.
struct BoxInfo {
    HWND hwnd;
    HWND owner;
    std::string caption;   // narrow, in the ANSI code page
    std::string text;      // the message box's text (control 0xFFFF)
};

// Records every dialog window (class #32770) activated on this thread while
// it exists, through a WH_CBT hook, before the window paints.
class BoxRecorder {
public:
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;
    const std::vector<BoxInfo>& boxes() const { return boxes_; }
    // The boxes still open, innermost last.
    std::vector<HWND> open() const;
private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
    std::vector<BoxInfo> boxes_;
};

std::string ClassNameOf(HWND hwnd);
std::string NarrowTextOf(HWND hwnd);
std::wstring WideTextOf(HWND hwnd);
// A control's text asked for with WM_GETTEXT, which the system carries
// across processes (GetWindowText does not ask another process's control).
std::string SentTextOf(HWND hwnd);
// The window's whole title as the system keeps it, read without sending the
// window a message (so also while its owner does not answer).
std::wstring InternalTextOf(HWND hwnd);
// The text of a message box (its static control 0xFFFF).
std::string BoxText(HWND box);
// Presses OK in a message box or dialog.
void PressOk(HWND box);

// The date-time picker (SysDateTimePick32). In-process only: the system
// does not carry these messages' structures across processes.
SYSTEMTIME PickerTime(HWND picker);
void SetPickerTime(HWND picker, const SYSTEMTIME& time);
// A time of day on a copy of a date.
SYSTEMTIME WithTimeOfDay(SYSTEMTIME date, int hours, int minutes, int seconds);

// Posts a key press (down and up) to a window, also of another process.
void PressKey(HWND hwnd, UINT vk, int times = 1);

// The Windows path of a Linux path (Wine maps drive Z: to the root).
std::wstring WinePath(const char* linuxPath);

// Bytes of Windows-1250 text, written as UTF-8 in the test source.
std::string Cp1250(const char* utf8);
// UTF-16 text, written as UTF-8 in the test source.
std::wstring Wide(const char* utf8);
// Readable form of a UTF-16 text for failure messages.
std::string Utf8(const std::wstring& text);

// An ordinary top-level window owned by this thread, with a title.
class TestWindow {
public:
    explicit TestWindow(const std::wstring& title);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    std::wstring Title() const { return WideTextOf(hwnd_); }
    // Brings the window to the front and waits until it is the foreground window.
    bool BringToFront();
private:
    HWND hwnd_;
};

}  // namespace testsupport

#endif
