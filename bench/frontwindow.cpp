// An ordinary window that stays in front, for the benchmark's clocks to
// decorate. Given a file name, it writes one line to it for every title it is
// sent: the local time it arrived ("HH:MM:SS.mmm") and the title (UTF-8).
#include <windows.h>

#include <stdio.h>

static FILE* titleLog;

static LRESULT CALLBACK FrontWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT && titleLog && lParam) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char title[2048];
        int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<LPCWSTR>(lParam), -1, title,
                                    sizeof title, nullptr, nullptr);
        if (n == 0)
            title[0] = '\0';
        fprintf(titleLog, "%02d:%02d:%02d.%03d %s\n", now.wHour, now.wMinute, now.wSecond,
                now.wMilliseconds, title);
        fflush(titleLog);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine[0])
        titleLog = fopen(commandLine, "w");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = FrontWindowProc;
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
