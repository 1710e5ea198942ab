// Tikavo_T: a clock in the title bar of the foreground window, with a tray
// icon for its commands.
#include "app/app.h"
#include "timers/timers.h"

int WINAPI WinMain(HINSTANCE hThisInstance, HINSTANCE, LPSTR, int)
{
    SearchSystemFolderOnly();
    appInstance = hThisInstance;

    // One instance at a time. The running instance's main window is found by
    // its class alone: its title is decorated like any other window's while
    // it is in front (the tray menu is open), and a second instance would
    // then fight the first over the same titles.
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
