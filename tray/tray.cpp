// The tray icon and its popup menu: the program's only door for the user.
#include "tray/tray.h"

#include <cstddef>
#include <string>

#include "common/cp1250.h"
#include "common/program.h"
#include "res/resource.h"

// The record in the shell's version with balloon fields, the version of the
// 488-byte ANSI record, which every shell since Windows 2000 accepts. Wide,
// so that the tooltip's Czech letters show right whatever the system's ANSI
// code page.
static_assert(NOTIFYICONDATAW_V2_SIZE == 936, "the wide record with balloon fields is 936 bytes");
static_assert(offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD) == 936, "the balloon fields end the record");

static const UINT trayIconId = 1;

// Zobrazí den, datum, tikavo / a jméno v horním pruhu okna.
static const wchar_t balloonText[] = L"Zobraz\u00ED den, datum, tikavo\na jm\u00E9no v horn\u00EDm pruhu okna.";
static const char addFailedText[] = "Nelze p\xF8idat ikonu";      // Nelze přidat ikonu
static const char removeFailedText[] = "Nelze odebrat ikonu";

static NOTIFYICONDATAW nid;
// The icon last handed to the shell, which keeps a copy of its own.
static HICON trayIcon;
// The tooltip's second line, today's day, date and name; empty until the
// first tick.
static std::u16string tipToday;

static void ShowTrayError(const char* text)
{
    MessageBoxA(nullptr, text, nullptr, MB_TASKMODAL | MB_ICONERROR);
}

// Icon 10004 at the small-icon size for dpi (0: the window's), from its image
// of that size or the nearest: sharp at every display scale, where one image
// stretched would blur.
static HICON LoadTrayIcon(HWND hwnd, UINT dpi)
{
    // Windows 10 1607 and later; before, the system's small-icon size.
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto metricForDpi = reinterpret_cast<int (WINAPI *)(int, UINT)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
    auto dpiOfWindow = reinterpret_cast<UINT (WINAPI *)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    int size = metricForDpi && dpiOfWindow ? metricForDpi(SM_CXSMICON, dpi ? dpi : dpiOfWindow(hwnd))
                                           : GetSystemMetrics(SM_CXSMICON);
    return static_cast<HICON>(LoadImageW(appInstance, MAKEINTRESOURCEW(IDI_TRAYICON), IMAGE_ICON, size, size, 0));
}

// Takes a newly loaded icon into the record, and lets the last one go.
static void UseIcon(HICON icon)
{
    if (trayIcon)
        DestroyIcon(trayIcon);
    nid.hIcon = trayIcon = icon;
}

// The tooltip into the record: the program's name and version, then today's
// line, cut to the field's 127 characters.
static void FillTip()
{
    std::u16string tip;
    AppendCp1250(tip, appNameVersion);
    if (!tipToday.empty())
        tip += u'\n' + tipToday;
    lstrcpynW(nid.szTip, reinterpret_cast<const wchar_t*>(tip.c_str()), ARRAYSIZE(nid.szTip));
}

// The record for a new icon: cleared, with the icon, its tooltip and its
// callback; false when the icon resource is missing.
static bool FillIconRecord(HWND hwnd)
{
    HICON icon = LoadTrayIcon(hwnd, 0);
    if (icon == nullptr)
        return false;
    ZeroMemory(&nid, sizeof nid);
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = hwnd;
    UseIcon(icon);
    nid.uID = trayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = trayCallbackMessage;
    FillTip();
    return true;
}

bool AddTrayIcon(HWND hwnd)
{
    if (!FillIconRecord(hwnd))
        return false;
    nid.uFlags |= NIF_INFO;
    lstrcpynW(nid.szInfo, balloonText, ARRAYSIZE(nid.szInfo));
    nid.uTimeout = 10000;
    MultiByteToWideChar(CP_ACP, 0, appNameVersion, -1, nid.szInfoTitle, ARRAYSIZE(nid.szInfoTitle));
    // A greeting at every sign-in with the Startup shortcut: Windows holds
    // it back during quiet hours and Do Not Disturb (Windows 7 and later).
    nid.dwInfoFlags = NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
    if (!systemCalls.trayIconNotifier(NIM_ADD, &nid)) {
        ShowTrayError(addFailedText);
        return false;
    }
    return true;
}

bool RemoveTrayIcon(HWND hwnd)
{
    ZeroMemory(&nid, sizeof nid);
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = hwnd;
    nid.uID = trayIconId;
    if (!systemCalls.trayIconNotifier(NIM_DELETE, &nid)) {
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
    if (systemCalls.trayIconNotifier(NIM_ADD, &nid) || systemCalls.trayIconNotifier(NIM_MODIFY, &nid))
        return true;
    ShowTrayError(addFailedText);
    return false;
}

void RenewTrayIconImage(UINT dpi)
{
    HICON icon = nid.hIcon ? LoadTrayIcon(nid.hWnd, dpi) : nullptr;   // none without an icon
    if (icon) {
        UseIcon(icon);
        nid.uFlags = NIF_ICON;
        systemCalls.trayIconNotifier(NIM_MODIFY, &nid);
    }
}

void ShowTodayInTip(const char* szDay, const SYSTEMTIME& now, const char* name)
{
    char date[32];
    wsprintfA(date, "%s %d.%d.%d", szDay, now.wDay, now.wMonth, now.wYear);
    std::u16string today;
    AppendCp1250(today, date);
    if (*name) {
        today += u" \u2013 ";
        AppendCp1250(today, name);
    }
    // Only a new day or a new name changes it, not every second.
    if (today == tipToday)
        return;
    tipToday = today;
    FillTip();
    nid.uFlags = NIF_TIP;
    if (nid.hIcon)
        systemCalls.trayIconNotifier(NIM_MODIFY, &nid);
}

int ShowTrayMenu(HWND hwnd, bool bellRinging)
{
    HMENU hMenu = LoadMenuA(appInstance, "RTRAYMENU");
    if (hMenu == nullptr)
        return 0;
    HMENU hPopup = GetSubMenu(hMenu, 0);
    EnableMenuItem(hPopup, placeBefore == 1 ? IDM_PLACE_BEFORE : IDM_PLACE_AFTER, MF_BYCOMMAND | MF_GRAYED);
    // The editor holds the thread until it is closed: never while a ring's
    // box waits to be closed with the bell looping.
    if (bellRinging)
        EnableMenuItem(hPopup, IDM_EDIT_NAMES, MF_BYCOMMAND | MF_GRAYED);

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
