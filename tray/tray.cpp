// The tray icon and menu.
// Not built yet: no icon is shown and the menu does not open.
#include "tray/tray.h"

bool AddTrayIcon(HWND) { return true; }
bool RemoveTrayIcon(HWND) { return true; }
int ShowTrayMenu(HWND) { return 0; }
bool ReAddTrayIcon(HWND) { return true; }
