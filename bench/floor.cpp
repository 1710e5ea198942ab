// The floor of a title clock's cost: once a second only what any such clock
// must do -- ask for the foreground window, read its title, open and close
// the name list, format the time and write one title with a time-out.
// The benchmark compares Tikavo_T.exe with this program.
//
// With "/tray" it also owns what every tray utility owns from its start: a
// hidden top-level window and a notification-area icon. The ticks stay the
// same.
#include <windows.h>
#include <shellapi.h>

#include <share.h>
#include <stdio.h>
#include <wchar.h>

#include <string>

static wchar_t listPath[MAX_PATH];

static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND front = GetForegroundWindow();
    int length = GetWindowTextLengthW(front);
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(front, &title[0], length + 1);

    if (FILE* list = _wfsopen(listPath, L"r", _SH_DENYNO))
        fclose(list);

    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[64];
    swprintf(text, 64, L"Dokument %d.%d.%d - %02d:%02d:%02d", now.wDay, now.wMonth, now.wYear,
             now.wHour, now.wMinute, now.wSecond);
    DWORD_PTR result;
    SendMessageTimeoutW(front, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, 200, &result);
}

static void AddWindowAndIcon(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "FloorTrayWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "FloorTrayWindow", "floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, SW_HIDE);
    NOTIFYICONDATAA nid = {};
    nid.cbSize = 488;
    nid.hWnd = hwnd;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_USER + 1;
    nid.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    lstrcpyA(nid.szTip, "floor");
    Shell_NotifyIconA(NIM_ADD, &nid);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (lstrcmpiA(commandLine, "/tray") == 0)
        AddWindowAndIcon(instance);
    GetModuleFileNameW(nullptr, listPath, MAX_PATH);
    wchar_t* slash = wcsrchr(listPath, L'\\');
    if (slash)
        wcscpy(slash + 1, L"jmena.txt");
    SetTimer(nullptr, 0, 1000, Tick);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}
