// Tikavo_T: a clock in the title bar of the foreground window, with a tray
// icon for its commands.
#include "app/app.h"

#include <cstring>

#include "app/version.h"

namespace {

// Every copy's main window has a class "Tikavo_T <version>".
constexpr char copyClassPrefix[] = "Tikavo_T ";
constexpr size_t copyClassPrefixLength = sizeof copyClassPrefix - 1;
// How long a start waits for a copy that is starting to make its window, and
// for an older one to end.
constexpr DWORD copyWaitMs = 5000;

struct Copy {
    HWND window;
    char className[64];
};

BOOL CALLBACK FindCopy(HWND hwnd, LPARAM lParam)
{
    auto* copy = reinterpret_cast<Copy*>(lParam);
    if (GetClassNameA(hwnd, copy->className, sizeof copy->className) > 0
        && std::strncmp(copy->className, copyClassPrefix, copyClassPrefixLength) == 0) {
        copy->window = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The main window of a copy of the program that runs already, whatever its
// version, found by its class (its title is decorated like any other
// window's while it is in front, the tray menu open); none when none runs.
Copy RunningCopy()
{
    Copy copy = {};
    EnumWindows(FindCopy, reinterpret_cast<LPARAM>(&copy));
    return copy;
}

// Asks an older copy to end as its exit command does: every version gives
// the titles back and takes its icon away when its window is destroyed.
// True once its window has gone; false after copyWaitMs, having said so.
bool TakeOverFrom(const Copy& older)
{
    PostMessageW(older.window, WM_CLOSE, 0, 0);
    for (DWORD start = GetTickCount(); IsWindow(older.window); Sleep(50)) {
        if (GetTickCount() - start < copyWaitMs)
            continue;
        // Starší verze programu (…) se neukončila. Ukončete ji příkazem
        // „Ukončit program?“ v nabídce její ikony a spusťte tuto verzi znovu.
        wchar_t text[512];
        wsprintfW(text, L"Star\u0161\u00ED verze programu (%hs) se neukon\u010Dila. Ukon\u010Dete ji p\u0159\u00EDkazem "
                        L"\u201EUkon\u010Dit program?\u201C v nab\u00EDdce jej\u00ED ikony a spus\u0165te tuto verzi znovu.",
                  older.className);
        MessageBoxW(nullptr, text, appNameVersionW, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
        return false;
    }
    return true;
}

}  // namespace

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
    // Its main window; one that has just started makes it in a moment. (A
    // build that held no mutex is known by its window alone.)
    Copy copy = RunningCopy();
    for (DWORD start = GetTickCount(); another && !copy.window && GetTickCount() - start < copyWaitMs; Sleep(50))
        copy = RunningCopy();
    if (!copy.window)
        return another ? 0 : RunMainWindow();

    // A newer version takes over from an older copy, and runs in its place.
    if (CompareVersions(appNameVersion + copyClassPrefixLength, copy.className + copyClassPrefixLength) > 0)
        return TakeOverFrom(copy) ? RunMainWindow() : 1;
    // Else the copy runs on: it adds its icon again where the shell has none,
    // and says that it runs already, as its icon may be among the hidden
    // ones.
    PostMessageW(copy.window, RegisterWindowMessageW(iconWantedMessageName), 0, 0);
    return 0;
}
