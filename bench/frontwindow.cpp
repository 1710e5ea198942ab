// An ordinary window that stays in front, for the benchmark's clocks to
// decorate.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"BenchFrontWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(L"BenchFrontWindow", L"Dokument", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              150, 180, 820, 160, nullptr, nullptr, instance, nullptr);
    SetForegroundWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
