// Helpers for tests that drive real windows, message boxes and the program
// itself under Wine.
#ifndef TIKAVO_TESTS_WINSUPPORT_H
#define TIKAVO_TESTS_WINSUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

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

// Drives the boxes, dialogs and menus this thread opens, also inside their
// own modal loops: every intervalMs it calls step, which may look at them
// and press their buttons. Past its deadline it closes every one of them and
// fails the test, saying what it waited for: a test never hangs in a box.
class ModalDriver {
public:
    ModalDriver(std::string waitingFor, DWORD deadlineMs, std::function<void()> step, UINT intervalMs = 50);
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    const std::vector<BoxInfo>& boxes() const { return recorder_.boxes(); }
    std::vector<HWND> open() const { return recorder_.open(); }
    // The open box or dialog whose caption was the given one when it came up.
    HWND Open(const char* caption) const;
    int Count(const char* caption) const;
    bool expired() const { return expired_; }
private:
    void Drive();
    BoxRecorder recorder_;
    std::string waitingFor_;
    DWORD start_, deadlineMs_;
    std::function<void()> step_;
    bool expired_ = false;
    ThreadTicker ticker_;
};

// The popup menu window this thread shows, if any.
HWND OpenMenuWindow();

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

// A moment of local time (day of the week 0 for Sunday).
SYSTEMTIME At(int year, int month, int day, int hour, int minute, int second, int dayOfWeek = 0);

bool StartsWith(const std::wstring& text, const std::wstring& prefix);
bool EndsWith(const std::wstring& text, const std::wstring& suffix);

// Waits (dispatching this thread's messages) until the window's title,
// read as the system keeps it, satisfies ok; on failure says what it last saw.
::testing::AssertionResult TitleBecomes(HWND window, const std::function<bool(const std::wstring&)>& ok,
                                        DWORD timeoutMs, const char* what);

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

// A window owned by a thread of its own, as another program's window is, with
// the given window procedure.
class ThreadWindow {
public:
    explicit ThreadWindow(const std::wstring& title, WNDPROC proc = DefWindowProcW);
    ~ThreadWindow();
    ThreadWindow(const ThreadWindow&) = delete;
    ThreadWindow& operator=(const ThreadWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    // Its owner brings it to the front; waits (dispatching this thread's
    // messages) until it is there.
    bool BringToFront();
    // Runs fn on the owner thread, which handles nothing else meanwhile.
    void Run(std::function<void()> fn);
private:
    static DWORD WINAPI Loop(LPVOID self);
    std::wstring title_;
    WNDPROC proc_;
    HANDLE ready_, thread_;
    DWORD threadId_ = 0;
    HWND hwnd_ = nullptr;
};

}  // namespace testsupport

#endif
