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
    bool another = running ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
    // Beside it, an instance of a build that held no mutex: its main window,
    // found by its class alone (its title is decorated like any other
    // window's while it is in front, the tray menu open).
    HWND copy = FindWindowA(appNameVersion, nullptr);
    if (another || copy) {
        // A user starts the program again when its icon is missing: the
        // running copy adds it again where the shell has none.
        if (copy)
            PostMessageW(copy, RegisterWindowMessageW(iconWantedMessageName), 0, 0);
        return 0;
    }
    return RunMainWindow();
}
