// The notification-area icon and its popup menu.
#ifndef TIKAVO_TRAY_H
#define TIKAVO_TRAY_H

#include <windows.h>

bool AddTrayIcon(HWND hwnd);
bool RemoveTrayIcon(HWND hwnd);
int ShowTrayMenu(HWND hwnd);
// Puts the icon back after the shell has restarted.
bool ReAddTrayIcon(HWND hwnd);

#endif
