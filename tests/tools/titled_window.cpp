// A plain document window for the end-to-end scripts: it stands in for the
// user's window whose title bar the clock decorates.
//   titled_window.exe X Y TITLE [WIDTH]
// shows a window 200 high and WIDTH (520) wide at X, Y with TITLE and runs
// until it is closed.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

static LRESULT CALLBACK DocumentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 4 || argc > 5)
        return 2;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = DocumentProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"TikavoDocumentWindow";
    if (!RegisterClassW(&wc))
        return 3;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, argv[3], WS_OVERLAPPEDWINDOW,
                                _wtoi(argv[1]), _wtoi(argv[2]), argc == 5 ? _wtoi(argv[4]) : 520, 200,
                                nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr)
        return 4;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
