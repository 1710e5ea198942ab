#include "support/winsupport.h"

#include <commctrl.h>

#include <map>
#include <memory>

namespace testsupport {

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (cond())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return cond();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

namespace {
std::map<UINT_PTR, std::function<void()>>& Tickers()
{
    static std::map<UINT_PTR, std::function<void()>> tickers;
    return tickers;
}

void CALLBACK TickerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Tickers().find(id);
    if (it != Tickers().end()) {
        auto fn = it->second;   // the callback may destroy the ticker
        fn();
    }
}

BoxRecorder* activeRecorder = nullptr;
}  // namespace

ThreadTicker::ThreadTicker(UINT intervalMs, std::function<void()> fn)
{
    id_ = SetTimer(nullptr, 0, intervalMs, TickerProc);
    Tickers()[id_] = std::move(fn);
}

ThreadTicker::~ThreadTicker()
{
    KillTimer(nullptr, id_);
    Tickers().erase(id_);
}

BoxRecorder::BoxRecorder()
{
    activeRecorder = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

BoxRecorder::~BoxRecorder()
{
    UnhookWindowsHookEx(hook_);
    activeRecorder = nullptr;
}

LRESULT CALLBACK BoxRecorder::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && activeRecorder) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        if (ClassNameOf(hwnd) == "#32770") {
            bool known = false;
            for (const BoxInfo& b : activeRecorder->boxes_)
                known = known || b.hwnd == hwnd;
            if (!known)
                activeRecorder->boxes_.push_back(
                    { hwnd, GetWindow(hwnd, GW_OWNER), NarrowTextOf(hwnd), BoxText(hwnd) });
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<HWND> BoxRecorder::open() const
{
    std::vector<HWND> result;
    for (const BoxInfo& b : boxes_)
        if (IsWindow(b.hwnd))
            result.push_back(b.hwnd);
    return result;
}

ModalDriver::ModalDriver(std::string waitingFor, DWORD deadlineMs, std::function<void()> step, UINT intervalMs)
    : waitingFor_(std::move(waitingFor)), start_(GetTickCount()), deadlineMs_(deadlineMs), step_(std::move(step)),
      ticker_(intervalMs, [this] { Drive(); })
{
}

void ModalDriver::Drive()
{
    if (!expired_ && GetTickCount() - start_ < deadlineMs_) {
        step_();
        return;
    }
    if (!expired_) {
        expired_ = true;
        ADD_FAILURE() << "gave up after " << deadlineMs_ << " ms waiting for " << waitingFor_;
    }
    EndMenu();
    for (HWND box : recorder_.open()) {
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

HWND ModalDriver::Open(const char* caption) const
{
    for (const BoxInfo& b : recorder_.boxes())
        if (b.caption == caption && IsWindow(b.hwnd))
            return b.hwnd;
    return nullptr;
}

int ModalDriver::Count(const char* caption) const
{
    int n = 0;
    for (const BoxInfo& b : recorder_.boxes())
        n += b.caption == caption;
    return n;
}

namespace {
BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM lParam)
{
    if (IsWindowVisible(hwnd) && ClassNameOf(hwnd) == "#32768") {
        *reinterpret_cast<HWND*>(lParam) = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND OpenMenuWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ClassNameOf(HWND hwnd)
{
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string NarrowTextOf(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::wstring WideTextOf(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string SentTextOf(HWND hwnd)
{
    char text[1024] = "";
    DWORD_PTR got = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &got);
    return std::string(text, got < sizeof text ? got : 0);
}

std::wstring InternalTextOf(HWND hwnd)
{
    std::wstring text(256, L'\0');
    for (;;) {
        int got = InternalGetWindowText(hwnd, &text[0], static_cast<int>(text.size()));
        if (got < 0)
            got = 0;
        if (static_cast<size_t>(got) + 1 < text.size()) {
            text.resize(static_cast<size_t>(got));
            return text;
        }
        text.resize(text.size() * 4);
    }
}

std::string BoxText(HWND box)
{
    HWND label = GetDlgItem(box, 0xFFFF);
    return label ? NarrowTextOf(label) : std::string();
}

void PressOk(HWND box)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

SYSTEMTIME PickerTime(HWND picker)
{
    SYSTEMTIME time = {};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

void SetPickerTime(HWND picker, const SYSTEMTIME& time)
{
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

SYSTEMTIME WithTimeOfDay(SYSTEMTIME date, int hours, int minutes, int seconds)
{
    date.wHour = static_cast<WORD>(hours);
    date.wMinute = static_cast<WORD>(minutes);
    date.wSecond = static_cast<WORD>(seconds);
    return date;
}

void PressKey(HWND hwnd, UINT vk, int times)
{
    for (int i = 0; i < times; ++i) {
        PostMessageW(hwnd, WM_KEYDOWN, vk, 1);
        PostMessageW(hwnd, WM_KEYUP, vk, 0xC0000001);
    }
}

SYSTEMTIME At(int year, int month, int day, int hour, int minute, int second, int dayOfWeek)
{
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wDayOfWeek = static_cast<WORD>(dayOfWeek);
    return t;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::wstring& text, const std::wstring& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

::testing::AssertionResult TitleBecomes(HWND window, const std::function<bool(const std::wstring&)>& ok,
                                        DWORD timeoutMs, const char* what)
{
    std::wstring last;
    if (PumpUntil([&] { last = InternalTextOf(window); return ok(last); }, timeoutMs))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " within " << timeoutMs << " ms; last title seen: ["
                                         << Utf8(last) << "]";
}

std::wstring WinePath(const char* linuxPath)
{
    std::wstring path = L"Z:" + Wide(linuxPath);
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::string Cp1250(const char* utf8)
{
    std::wstring wide = Wide(utf8);
    int n = WideCharToMultiByte(1250, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(1250, 0, wide.c_str(), -1, &text[0], n, nullptr, nullptr);
    text.resize(static_cast<size_t>(n) - 1);
    return text;
}

std::wstring Wide(const char* utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], n);
    text.resize(static_cast<size_t>(n) - 1);
    return text;
}

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &result[0], n, nullptr, nullptr);
    result.resize(static_cast<size_t>(n) - 1);
    return result;
}

namespace {
const wchar_t testWindowClass[] = L"TikavoTestWindow";

void RegisterTestWindowClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = testWindowClass;
    RegisterClassExW(&wc);
    registered = true;
}
}  // namespace

TestWindow::TestWindow(const std::wstring& title)
{
    RegisterTestWindowClass();
    hwnd_ = CreateWindowExW(0, testWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                            100, 100, 500, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd_, SW_SHOW);
}

TestWindow::~TestWindow()
{
    DestroyWindow(hwnd_);
}

// Under Wine a thread that handles the deactivation of its own window after
// another thread took the front (a message box just closed, say) hands the
// front to the desktop: the window must still be in front a moment later, or
// it is brought up again.
static bool RaiseAndHold(HWND hwnd, const std::function<void()>& raise)
{
    DWORD start = GetTickCount();
    do {
        raise();
        if (PumpUntil([hwnd] { return GetForegroundWindow() == hwnd; }, 1000)) {
            PumpFor(250);
            if (GetForegroundWindow() == hwnd)
                return true;
        }
    } while (GetTickCount() - start < 3000);
    return false;
}

bool TestWindow::BringToFront()
{
    return RaiseAndHold(hwnd_, [this] { SetForegroundWindow(hwnd_); });
}

ThreadWindow::ThreadWindow(const std::wstring& title, WNDPROC proc) : title_(title), proc_(proc)
{
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Loop, this, 0, &threadId_);
    WaitForSingleObject(ready_, 5000);
}

ThreadWindow::~ThreadWindow()
{
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

bool ThreadWindow::BringToFront()
{
    return RaiseAndHold(hwnd_, [this] { PostThreadMessageW(threadId_, WM_APP, 0, 0); });
}

void ThreadWindow::Run(std::function<void()> fn)
{
    PostThreadMessageW(threadId_, WM_APP + 1, 0, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(fn))));
}

DWORD WINAPI ThreadWindow::Loop(LPVOID parameter)
{
    auto* self = static_cast<ThreadWindow*>(parameter);
    wchar_t className[64];
    wsprintfW(className, L"TikavoThreadWindow%p", reinterpret_cast<void*>(self->proc_));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = self->proc_;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    self->hwnd_ = CreateWindowExW(0, className, self->title_.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  160, 160, 500, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetEvent(self->ready_);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_APP) {
            SetForegroundWindow(self->hwnd_);
        } else if (msg.hwnd == nullptr && msg.message == WM_APP + 1) {
            std::unique_ptr<std::function<void()>> fn(reinterpret_cast<std::function<void()>*>(msg.lParam));
            (*fn)();
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(self->hwnd_);
    return 0;
}

}  // namespace testsupport
