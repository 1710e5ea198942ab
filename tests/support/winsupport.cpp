#include "support/winsupport.h"

#include <commctrl.h>

#include <map>

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

bool TestWindow::BringToFront()
{
    // Under Wine a thread that handles the deactivation of its own window
    // after another thread took the front (a message box just closed, say)
    // hands the front to the desktop: the window must still be in front a
    // moment later, or it is brought up again.
    DWORD start = GetTickCount();
    do {
        SetForegroundWindow(hwnd_);
        if (PumpUntil([this] { return GetForegroundWindow() == hwnd_; }, 1000)) {
            PumpFor(250);
            if (GetForegroundWindow() == hwnd_)
                return true;
        }
    } while (GetTickCount() - start < 3000);
    return false;
}

}  // namespace testsupport
