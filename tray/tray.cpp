// The tray icon and its popup menu: the program's only door for the user.
#include "tray/tray.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
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

TrayCalls trayCalls;

static const UINT trayIconId = 1;

// Zobrazí den, datum, tikavo / a jméno v horním pruhu okna.
static const wchar_t balloonText[] = L"Zobraz\u00ED den, datum, tikavo\na jm\u00E9no v horn\u00EDm pruhu okna.";
// Tikavo_T už běží. Jeho ikona může být mezi skrytými ikonami pod šipkou ^.
static const wchar_t runningText[] = L"Tikavo_T u\u017E b\u011B\u017E\u00ED. Jeho ikona m\u016F\u017Ee b\u00FDt mezi "
                                     L"skryt\u00FDmi ikonami pod \u0161ipkou ^.";
static const wchar_t addFailedText[] = L"Nelze p\u0159idat ikonu";
static const wchar_t removeFailedText[] = L"Nelze odebrat ikonu";

// At sign-in the shell may refuse an icon for a while: it waits only seconds
// for the notification area to answer, and broadcasts TaskbarCreated once it
// is ready (Microsoft's documentation of Shell_NotifyIcon and of the
// taskbar's "Taskbar Creation Notification"). A refused icon is asked for
// again at every tick, quietly, this many times: each tick in a second of its
// own, the last at least two minutes after the first.
constexpr int addRetryTicks = 121;

// The icon as the shell was last given it: its window (none before the
// first and after the removal) and its image, which the shell keeps a copy
// of; whether the shell took it; the ticks left to ask again after a
// refusal, and whether the user has been told that every try failed (once
// a run); the tooltip's first line, today's day, date and name, empty until
// the first tick, in Windows-1250 (whose 0x96 is the dash).
static struct {
    HWND window;
    HICON image;
    bool shown;
    int retriesLeft;
    bool refusalTold;
    char tipToday[128];
} icon;

static void ShowTrayError(const wchar_t* text)
{
    MessageBoxW(nullptr, text, nullptr, MB_TASKMODAL | MB_ICONERROR);
}

// The icon of hwnd from now on, with icon 10004 at the small-icon size for
// dpi (0: the window's), from its image of that size or the nearest: sharp at
// every display scale, where one image stretched would blur. False, and
// nothing changed, when the resource is missing.
static bool LoadTrayIcon(HWND hwnd, UINT dpi)
{
    // Windows 10 1607 and later; before, the system's small-icon size. The
    // window stands on the primary monitor, whose taskbar holds the
    // notification area, so its DPI is the notification area's.
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto metricForDpi = reinterpret_cast<int (WINAPI *)(int, UINT)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetSystemMetricsForDpi")));
    auto dpiOfWindow = reinterpret_cast<UINT (WINAPI *)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    int size = metricForDpi && dpiOfWindow ? metricForDpi(SM_CXSMICON, dpi ? dpi : dpiOfWindow(hwnd))
                                           : GetSystemMetrics(SM_CXSMICON);
    auto image = static_cast<HICON>(LoadImageW(appInstance, MAKEINTRESOURCEW(IDI_TRAYICON), IMAGE_ICON, size, size, 0));
    if (image == nullptr)
        return false;
    if (icon.image)
        DestroyIcon(icon.image);
    icon.image = image;
    icon.window = hwnd;
    return true;
}

// A record for the icon of hwnd that changes the given fields: the image,
// the callback and the tooltip (today's line, then the program's name and
// version, cut to the field's 127 characters). Today's line comes first:
// Windows 11 has shown only a tooltip's first line.
static NOTIFYICONDATAW IconRecord(HWND hwnd, UINT fields)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = hwnd;
    nid.uID = trayIconId;
    nid.uFlags = fields;
    if (fields & NIF_ICON)
        nid.hIcon = icon.image;
    if (fields & NIF_MESSAGE)
        nid.uCallbackMessage = trayCallbackMessage;
    if (fields & NIF_TIP) {
        std::u16string tip;
        if (icon.tipToday[0])
            AppendCp1250(tip, icon.tipToday) += u'\n';
        AppendCp1250(tip, appNameVersion);
        lstrcpynW(nid.szTip, reinterpret_cast<const wchar_t*>(tip.c_str()), ARRAYSIZE(nid.szTip));
    }
    return nid;
}

// A refusal: the shell has no icon of ours, and it is asked for again at
// the next ticks (unless that is so already). Always false.
static bool Refused()
{
    icon.shown = false;
    if (icon.retriesLeft == 0)
        icon.retriesLeft = addRetryTicks;
    return false;
}

// A balloon from the icon, with the program's name: silent, and held back in
// a new account's first hour, "quiet time" (Microsoft's NOTIFYICONDATA
// documentation). Windows 10 and 11 show it as a notification, also while the
// icon is among the hidden ones, and hold it back during Do not disturb.
static void PutBalloon(NOTIFYICONDATAW& nid, const wchar_t* text)
{
    lstrcpynW(nid.szInfo, text, ARRAYSIZE(nid.szInfo));
    nid.uTimeout = 10000;
    lstrcpynW(nid.szInfoTitle, appNameVersionW, ARRAYSIZE(nid.szInfoTitle));
    nid.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND | NIIF_RESPECT_QUIET_TIME;
}

bool AddTrayIcon(HWND hwnd)
{
    if (!LoadTrayIcon(hwnd, 0))
        return false;
    // The greeting with the icon, at every sign-in with the Startup
    // shortcut: dropped when the shell cannot show it now (NIF_REALTIME)
    // rather than shown later.
    NOTIFYICONDATAW nid = IconRecord(hwnd, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO | NIF_REALTIME);
    PutBalloon(nid, balloonText);
    if (!trayCalls.notifyIcon(NIM_ADD, &nid))
        return Refused();
    icon.shown = true;
    return true;
}

bool RemoveTrayIcon(HWND hwnd)
{
    icon.window = nullptr;
    icon.retriesLeft = 0;
    if (!icon.shown)
        return true;   // the shell has none
    icon.shown = false;
    NOTIFYICONDATAW nid = IconRecord(hwnd, 0);
    if (!trayCalls.notifyIcon(NIM_DELETE, &nid)) {
        ShowTrayError(removeFailedText);
        return false;
    }
    return true;
}

bool ReAddTrayIcon(HWND hwnd, bool secondStart)
{
    if (!LoadTrayIcon(hwnd, 0))
        return false;
    // A second start tells the user that the program runs already: queued,
    // not dropped, as its icon may stand among the hidden ones.
    NOTIFYICONDATAW nid = IconRecord(hwnd, NIF_MESSAGE | NIF_ICON | NIF_TIP | (secondStart ? NIF_INFO : 0));
    if (secondStart)
        PutBalloon(nid, runningText);
    // A new shell has no icon of ours; a shell that only announced itself
    // again (a display change) still has it and refuses a second one.
    if (!trayCalls.notifyIcon(NIM_ADD, &nid) && !trayCalls.notifyIcon(NIM_MODIFY, &nid))
        return Refused();
    icon.shown = true;
    icon.retriesLeft = 0;
    return true;
}

void RetryTrayIcon()
{
    if (icon.retriesLeft == 0 || ReAddTrayIcon(icon.window))
        return;
    // The last try refused too: the user is told, once a run.
    if (--icon.retriesLeft == 0 && !icon.refusalTold) {
        icon.refusalTold = true;
        ShowTrayError(addFailedText);
    }
}

void RenewTrayIconImage(UINT dpi)
{
    if (icon.window && LoadTrayIcon(icon.window, dpi)) {   // none without an icon
        NOTIFYICONDATAW nid = IconRecord(icon.window, NIF_ICON);
        trayCalls.notifyIcon(NIM_MODIFY, &nid);
    }
}

void ShowTodayInTip(const char* szDay, const SYSTEMTIME& now, const char* name)
{
    // Formatted on the stack every tick; only a new day or name tells the shell.
    char today[sizeof icon.tipToday];
    int length = std::snprintf(today, sizeof today, "%s %d.%d.%d", szDay, now.wDay, now.wMonth, now.wYear);
    if (*name && length > 0)
        std::snprintf(today + length, sizeof today - length, " \x96 %s", name);
    if (std::strcmp(today, icon.tipToday) == 0)
        return;
    std::strcpy(icon.tipToday, today);
    if (icon.shown) {
        NOTIFYICONDATAW nid = IconRecord(icon.window, NIF_TIP);
        trayCalls.notifyIcon(NIM_MODIFY, &nid);
    }
}

int ShowTrayMenu(HWND hwnd, bool withoutSeconds)
{
    HMENU hMenu = LoadMenuA(appInstance, "RTRAYMENU");
    if (hMenu == nullptr)
        return 0;
    HMENU hPopup = GetSubMenu(hMenu, 0);
    EnableMenuItem(hPopup, placeBefore == 1 ? IDM_PLACE_BEFORE : IDM_PLACE_AFTER, MF_BYCOMMAND | MF_GRAYED);
    CheckMenuItem(hPopup, IDM_WITHOUT_SECONDS, MF_BYCOMMAND | (withoutSeconds ? MF_CHECKED : MF_UNCHECKED));

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
