// Tikavo_T: a clock in the title bar of the foreground window, with a tray
// icon for its commands.
#include "app/app.h"

int WINAPI WinMain(HINSTANCE hThisInstance, HINSTANCE, LPSTR, int)
{
    SearchSystemFolderOnly();
    appInstance = hThisInstance;

    // One instance at a time in a session, also when two start at once (the
    // Startup shortcut and a double-click at sign-in): the mutex is created
    // by one of them only, and held until the process ends. A copy started
    // with other rights makes the mutex exist but not open for this one.
    HANDLE running = CreateMutexW(nullptr, FALSE, L"Local\\Tikavo_T");
    DWORD error = GetLastError();
    if (running ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED)
        return 0;
    // Beside it, an instance of a build that held no mutex: its main window,
    // found by its class alone (its title is decorated like any other
    // window's while it is in front, the tray menu open).
    if (FindWindowA(appNameVersion, nullptr) != nullptr)
        return 0;

    if (!RegisterMainWindowClass())
        return 0;
    CreateMainWindow();

    MSG messages = {};
    while (GetMessageA(&messages, nullptr, 0, 0) > 0) {
        TranslateMessage(&messages);
        DispatchMessageA(&messages);
    }
    return static_cast<int>(messages.wParam);
}
