// The tray icon and its popup menu: the program's only door for the user.
#include "tray/tray.h"

#include <cstddef>

#include "app/app.h"
#include "res/resource.h"

BOOL (WINAPI *trayIconNotifier)(DWORD, PNOTIFYICONDATAA) = Shell_NotifyIconA;

// The record in the shell's version with balloon fields: 488 bytes in the
// ANSI form, which every shell since Windows 2000 accepts.
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the ANSI record with balloon fields is 488 bytes");
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) + sizeof(DWORD) == 488, "the balloon fields end the record");

static const UINT trayIconId = 1;

// Zobrazí den, datum, tikavo / a jméno v horním pruhu okna.
static const char balloonText[] = "Zobraz\xED den, datum, tikavo\na jm\xE9no v horn\xEDm pruhu okna.";
static const char addFailedText[] = "Nelze p\xF8idat ikonu";      // Nelze přidat ikonu
static const char removeFailedText[] = "Nelze odebrat ikonu";

static NOTIFYICONDATAA nid;

static void ShowTrayError(const char* text)
{
    MessageBoxA(nullptr, text, nullptr, MB_TASKMODAL | MB_ICONERROR);
}

// Clears the record and fills in the icon, its tooltip and its callback;
// false when the icon resource is missing.
static bool FillIconRecord(HWND hwnd)
{
    ZeroMemory(&nid, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = hwnd;
    nid.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_TRAYICON));
    if (nid.hIcon == nullptr)
        return false;
    nid.uID = trayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = trayCallbackMessage;
    lstrcpynA(nid.szTip, appNameVersion, sizeof nid.szTip);
    return true;
}

bool AddTrayIcon(HWND hwnd)
{
    if (!FillIconRecord(hwnd))
        return false;
    nid.uFlags |= NIF_INFO;
    lstrcpynA(nid.szInfo, balloonText, sizeof nid.szInfo);
    nid.uTimeout = 10000;
    lstrcpynA(nid.szInfoTitle, appNameVersion, sizeof nid.szInfoTitle);
    nid.dwInfoFlags = NIIF_INFO;
    if (!trayIconNotifier(NIM_ADD, &nid)) {
        ShowTrayError(addFailedText);
        return false;
    }
    return true;
}

bool RemoveTrayIcon(HWND hwnd)
{
    ZeroMemory(&nid, sizeof nid);
    nid.cbSize = NOTIFYICONDATAA_V2_SIZE;
    nid.hWnd = hwnd;
    nid.uID = trayIconId;
    if (!trayIconNotifier(NIM_DELETE, &nid)) {
        ShowTrayError(removeFailedText);
        return false;
    }
    return true;
}

bool ReAddTrayIcon(HWND hwnd)
{
    if (!FillIconRecord(hwnd))
        return false;
    // A new shell has no icon of ours; a shell that only announced itself
    // again (a display change) still has it and refuses a second one.
    if (trayIconNotifier(NIM_ADD, &nid) || trayIconNotifier(NIM_MODIFY, &nid))
        return true;
    ShowTrayError(addFailedText);
    return false;
}

int ShowTrayMenu(HWND hwnd)
{
    HMENU hMenu = LoadMenuA(appInstance, "RTRAYMENU");
    if (hMenu == nullptr)
        return 0;
    HMENU hPopup = GetSubMenu(hMenu, 0);
    EnableMenuItem(hPopup, placeBefore == 1 ? IDM_PLACE_BEFORE : IDM_PLACE_AFTER, MF_BYCOMMAND | MF_GRAYED);

    POINT pt;
    GetCursorPos(&pt);
    // The menu closes on a click elsewhere only while its owner is in front.
    SetForegroundWindow(hwnd);
    TrackPopupMenu(hPopup, TPM_BOTTOMALIGN, pt.x, pt.y, 0, hwnd, nullptr);
    // Lets the owner's queue move on, so that the next showing does not
    // close at once and this one did not stay open after a click elsewhere.
    PostMessageA(hwnd, WM_NULL, 0, 0);
    DestroyMenu(hMenu);
    return 0;
}
