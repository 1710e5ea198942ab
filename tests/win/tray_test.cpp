// The tray icon and its menu: the record the shell gets, the error boxes, the
// menu as the user sees it, which clicks open it, the icon at a new display
// scale and after a shell restart, and today in the tooltip.
// Runs under code pages 1250 and 1252.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "namedays/namedays.h"
#include "res/resource.h"
#include "support/mainwindow.h"
#include "support/namelistfiles.h"

using namespace testsupport;

namespace {

// ---- The shell, watched -------------------------------------------------

struct ShellCall {
    DWORD message;
    std::vector<BYTE> record;   // the record as the shell got it, cbSize bytes
    BOOL result;
    bool windowAlive;           // the record's window still existed
};

std::vector<ShellCall> shellCalls;
enum class Shell { Answers, RefusesAll, RefusesAdd } shellMode = Shell::Answers;
int refusals;   // calls refused first, whatever the mode (each test is a process)

// A shell that lost the icon behind the program's back lets it go.
BOOL WINAPI ShellThatLetsGo(DWORD, PNOTIFYICONDATAW)
{
    return TRUE;
}

BOOL WINAPI WatchingNotifier(DWORD message, PNOTIFYICONDATAW data)
{
    DWORD size = data->cbSize < sizeof *data ? data->cbSize : sizeof *data;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(data);
    ShellCall call{ message, std::vector<BYTE>(bytes, bytes + size), FALSE, IsWindow(data->hWnd) != FALSE };
    bool refuse = refusals-- > 0 || shellMode == Shell::RefusesAll || (shellMode == Shell::RefusesAdd && message == NIM_ADD);
    call.result = refuse ? FALSE : Shell_NotifyIconW(message, data);
    shellCalls.push_back(call);
    return call.result;
}

// The shell's wide record with balloon fields, written out by its published
// layout: 936 bytes, everything not set zero.
struct ExpectedRecord {
    std::vector<BYTE> bytes = std::vector<BYTE>(936, 0);
    ExpectedRecord(HWND hwnd)
    {
        Put(0, 936);
        Put(4, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hwnd)));
        Put(8, 1);
    }
    void Put(size_t offset, DWORD value) { memcpy(&bytes[offset], &value, 4); }
    void Text(size_t offset, const std::wstring& text) { memcpy(&bytes[offset], text.c_str(), 2 * text.size() + 2); }

    void Icon(HICON icon, DWORD flags, const std::wstring& tip = L"Tikavo_T " TIKAVO_VERSION)
    {
        Put(12, flags);
        Put(16, 1025);   // the callback message
        Put(20, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(icon)));
        Text(24, tip);   // 128 characters
        // 280 state, 284 state mask: 0
    }
    void Balloon(const char* text = "Zobrazí den, datum, tikavo\na jméno v horním pruhu okna.")
    {
        Text(288, Wide(text));            // 256 characters
        Put(800, 10000);                  // time-out
        Text(804, L"Tikavo_T " TIKAVO_VERSION);   // balloon title, 64 characters
        Put(932, NIIF_INFO | NIIF_NOSOUND | NIIF_RESPECT_QUIET_TIME);
    }
};

// A record's fields as the shell got them.
NOTIFYICONDATAW Fields(const ShellCall& call)
{
    NOTIFYICONDATAW fields = {};
    memcpy(&fields, call.record.data(), std::min(call.record.size(), sizeof fields));
    return fields;
}

// Whether the shell knows the program's icon of this window: a change
// without any field succeeds only for an icon that exists.
bool IconExists(HWND hwnd)
{
    NOTIFYICONDATAW probe = {};
    probe.cbSize = 936;
    probe.hWnd = hwnd;
    probe.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

void RemoveIconBehindTheProgramsBack(HWND hwnd)
{
    NOTIFYICONDATAW record = {};
    record.cbSize = 936;
    record.hWnd = hwnd;
    record.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &record);
}

// Where two records differ, for a failure message.
std::string FirstDifference(const std::vector<BYTE>& got, const std::vector<BYTE>& want)
{
    if (got.size() != want.size())
        return "size " + std::to_string(got.size()) + " instead of " + std::to_string(want.size());
    for (size_t i = 0; i < got.size(); ++i)
        if (got[i] != want[i])
            return "byte " + std::to_string(i) + " is " + std::to_string(got[i]) + " instead of " +
                   std::to_string(want[i]);
    return "none";
}

// The width of an icon's image; 0 for no icon.
int IconWidth(HICON icon)
{
    ICONINFO info = {};
    BITMAP bitmap = {};
    if (GetIconInfo(icon, &info)) {
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return bitmap.bmWidth;
}

// ---- The menu, seen while its own loop runs ---------------------------

struct MenuItem {
    UINT id;
    bool separator;
    bool grayed;
    std::wstring text;
    bool checked = false;   // wide: an ANSI read loses Czech letters on code page 1252
};

std::vector<MenuItem> ReadMenu(HMENU menu)
{
    std::vector<MenuItem> items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = ARRAYSIZE(text);
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        bool separator = (info.fType & MFT_SEPARATOR) != 0;
        items.push_back({ separator ? 0 : info.wID, separator, (info.fState & MFS_GRAYED) != 0,
                          separator ? L"" : text, (info.fState & MFS_CHECKED) != 0 });
    }
    return items;
}

// One showing of the menu as the test saw it.
struct Showing {
    HMENU popup = nullptr;
    std::vector<MenuItem> items;
    RECT rect = {};
    HWND foreground = nullptr;
    int ticksWhileOpen = 0;
};

// Watches this thread for the tray menu; reads each showing, waits for one
// clock tick inside the menu's loop when asked, then cancels it or lets
// `choose` pick an item.
class MenuWatcher {
public:
    explicit MenuWatcher(bool waitForATick = false)
        : waitForATick_(waitForATick), driver_("the tray menu to be closed", 10000, [this] { Look(); }, 30) {}
    std::vector<Showing> showings;
    // Called with the open menu window instead of cancelling it; returns
    // true when it has chosen an item.
    std::function<bool(HWND)> choose;
    // The next menu is a new showing even if the system reuses its window.
    void NextShowing() { current_ = nullptr; }

private:
    void Look()
    {
        HWND window = OpenMenuWindow();
        if (window == nullptr) {
            current_ = nullptr;
            return;
        }
        if (window != current_) {
            current_ = window;
            acted_ = false;
            Showing showing;
            showing.popup = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
            showing.items = ReadMenu(showing.popup);
            GetWindowRect(window, &showing.rect);
            showing.foreground = GetForegroundWindow();
            ticksAtOpen_ = MainWindowTest::ticksSeen;
            showings.push_back(showing);
        }
        showings.back().ticksWhileOpen = MainWindowTest::ticksSeen - ticksAtOpen_;
        if (waitForATick_ && showings.back().ticksWhileOpen < 1)
            return;
        if (choose) {
            if (!acted_)
                acted_ = choose(window);
            return;
        }
        EndMenu();
    }
    bool waitForATick_;
    HWND current_ = nullptr;
    int ticksAtOpen_ = 0;
    bool acted_ = false;
    ModalDriver driver_;
};

// The main window's posted messages waiting in the queue.
std::vector<UINT> PostedTo(HWND hwnd)
{
    std::vector<UINT> messages;
    MSG msg;
    while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE | PM_NOYIELD))
        messages.push_back(msg.message);
    return messages;
}

bool Contains(const std::vector<UINT>& messages, UINT message)
{
    return std::find(messages.begin(), messages.end(), message) != messages.end();
}

// ---- The program's main window with its icon ----------------------------

class TrayTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        appCalls.readLocalTime = CountingClock;
        shellCalls.clear();
        shellMode = Shell::Answers;
        trayCalls.notifyIcon = WatchingNotifier;
        MakeMainWindow();
    }
    void TearDown() override
    {
        RemoveIconBehindTheProgramsBack(main);
        trayCalls.notifyIcon = ShellThatLetsGo;
        MainWindowTest::TearDown();
    }
    void TrayNotification(UINT mouseMessage)
    {
        SendMessageW(main, trayCallbackMessage, 1, mouseMessage);
    }
};

TEST_F(TrayTest, AddAndRemoveGiveTheShellTheRecordByteForByte)
{
    // The window's creation added the icon at the small-icon size, with its
    // balloon.
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(shellCalls[0].result) << "Wine's shell refused the icon";
    EXPECT_EQ(IconWidth(Fields(shellCalls[0]).hIcon), GetSystemMetrics(SM_CXSMICON));
    ExpectedRecord added(main);
    added.Icon(Fields(shellCalls[0]).hIcon, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO | NIF_REALTIME);
    added.Balloon();
    EXPECT_EQ(shellCalls[0].record, added.bytes) << "first difference: "
                                                  << FirstDifference(shellCalls[0].record, added.bytes);
    EXPECT_TRUE(IconExists(main));

    EXPECT_TRUE(RemoveTrayIcon(main));
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[1].message, static_cast<DWORD>(NIM_DELETE));
    ExpectedRecord removed(main);
    EXPECT_EQ(shellCalls[1].record, removed.bytes) << "first difference: "
                                                    << FirstDifference(shellCalls[1].record, removed.bytes);
    EXPECT_FALSE(IconExists(main));

    // And once more by hand: the record does not keep anything of the removal.
    EXPECT_TRUE(AddTrayIcon(main));
    ASSERT_EQ(shellCalls.size(), 3u);
    added.Icon(Fields(shellCalls[2]).hIcon, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO | NIF_REALTIME);
    EXPECT_EQ(shellCalls[2].record, added.bytes) << "first difference: "
                                                  << FirstDifference(shellCalls[2].record, added.bytes);
    EXPECT_TRUE(IconExists(main));
    EXPECT_TRUE(RemoveTrayIcon(main));
    EXPECT_FALSE(IconExists(main));
}

TEST_F(TrayTest, TheExitCommandAndACloseRequestTakeTheIconAwayBeforeTheWindowGoes)
{
    PumpFor(50);
    shellCalls.clear();
    SendMessageW(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(main));
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_TRUE(shellCalls[0].result);
    EXPECT_TRUE(shellCalls[0].windowAlive) << "the icon must go while its window still exists";
    EXPECT_EQ(shellCalls[0].record, ExpectedRecord(main).bytes);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);

    // A close request (Restart Manager, taskkill without /f) too.
    main = CreateMainWindow();
    shellCalls.clear();
    SendMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_TRUE(shellCalls[0].message == NIM_DELETE && shellCalls[0].windowAlive && shellCalls[0].result);
}

// Ticks run inside the box of a refused removal: the window in front is given
// its own title back after them, or it keeps a stale clock once the program
// has ended.
TEST_F(TrayTest, AtTheExitTheWindowInFrontHasItsTitleBackAfterTheTicksInsideARefusedRemovalsBox)
{
    TestWindow doc(L"Dokument");
    shellMode = Shell::RefusesAll;
    int ticksInFront = 0;
    ModalDriver refusal("the refused removal's box to be closed after a tick inside it", 10000, [&] {
        std::vector<HWND> open = refusal.open();
        if (open.empty())
            return;
        if (GetForegroundWindow() != doc.hwnd()) {   // the document, not the box, in front
            SetForegroundWindow(doc.hwnd());
            ticksInFront = ticksSeen;
        } else if (ticksSeen > ticksInFront + 1) {
            PressOk(open.back());
        }
    });
    SendMessageW(main, WM_COMMAND, IDM_EXIT, 0);
    ASSERT_EQ(refusal.boxes().size(), 1u) << "no box for the refused removal";
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(Utf8(InternalTextOf(doc.hwnd())), "Dokument");
}

// A refusing shell: what the user sees of it.
struct ErrorBox {
    BoxInfo box;
    std::wstring text;
    bool ownWindowsDisabled = false;
    HICON icon = nullptr;
};

std::vector<ErrorBox> ShowBoxesOf(const std::function<void()>& action, HWND ownWindow)
{
    std::vector<ErrorBox> seen;
    ModalDriver recorder("the error boxes to be closed", 5000, [&] {
        for (HWND box : recorder.open()) {
            bool known = false;
            for (const ErrorBox& error : seen)
                known = known || error.box.hwnd == box;
            if (known)
                continue;
            ErrorBox error;
            for (const BoxInfo& info : recorder.boxes())
                if (info.hwnd == box)
                    error.box = info;
            // A task-modal box may be activated before its text is set.
            error.box.caption = NarrowTextOf(box);
            error.text = WideTextOf(GetDlgItem(box, 0xFFFF));
            error.ownWindowsDisabled = !IsWindowEnabled(ownWindow);
            error.icon = reinterpret_cast<HICON>(SendDlgItemMessageW(box, 0x0440, STM_GETICON, 0, 0));
            seen.push_back(error);
            PressOk(box);
        }
    });
    action();
    PumpUntil([&] { return recorder.open().empty(); }, 2000);
    return seen;
}

TEST_F(TrayTest, ARefusedIconIsAskedForQuietlyAtEveryTickAndOnlyTwoMinutesOfRefusalsAreReported)
{
    TestWindow other(L"Jin\u00E9 okno");
    // The caption a box without one gets from the system.
    std::vector<ErrorBox> reference =
        ShowBoxesOf([] { MessageBoxA(nullptr, "x", nullptr, MB_OK); }, other.hwnd());
    ASSERT_EQ(reference.size(), 1u);

    // The boxes of a start (at sign-in) or a shell restart, then of ticks.
    auto boxesOf = [&](bool start, int ticks) {
        return ShowBoxesOf([&] {
            if (start) {
                DestroyWindow(main);
                refusals = 4;   // the new window's add, two ticks' add and change
                main = CreateMainWindow();
                KillTimer(main, mainTimerId);
            } else {
                SendMessageW(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
            }
            while (ticks-- > 0)
                RunTick(main);
        }, other.hwnd());
    };
    EXPECT_TRUE(boxesOf(true, 3).empty()) << "a box before the icon came";
    EXPECT_TRUE(IconExists(main));
    // Refused for good: told at the 121st tick, and not again after the next restart.
    RemoveIconBehindTheProgramsBack(main);
    shellMode = Shell::RefusesAll;
    EXPECT_TRUE(boxesOf(false, 120).empty());
    std::vector<ErrorBox> boxes = boxesOf(false, 1);
    EXPECT_TRUE(boxesOf(false, 125).empty()) << "told a second time";

    shellMode = Shell::Answers;
    ReAddTrayIcon(main);
    shellMode = Shell::RefusesAll;
    bool removed = true;
    std::vector<ErrorBox> more = ShowBoxesOf([&] { removed = RemoveTrayIcon(main); }, other.hwnd());
    boxes.insert(boxes.end(), more.begin(), more.end());

    EXPECT_FALSE(removed);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, Wide("Nelze přidat ikonu"));
    EXPECT_EQ(boxes[1].text, Wide("Nelze odebrat ikonu"));
    for (const ErrorBox& error : boxes) {
        EXPECT_EQ(error.box.owner, nullptr);
        EXPECT_EQ(error.box.caption, reference[0].box.caption);
        EXPECT_EQ(error.icon, LoadIconA(nullptr, IDI_ERROR)) << "the box shows the error icon";
        EXPECT_TRUE(error.ownWindowsDisabled) << "a task-modal box disables the program's other windows";
    }
    EXPECT_FALSE(reference[0].ownWindowsDisabled) << "an ordinary box without owner leaves them alone";
}

TEST_F(TrayTest, AMissingIconResourceAddsNothingAndSaysNothing)
{
    RemoveTrayIcon(main);
    shellCalls.clear();
    appInstance = GetModuleHandleW(L"kernel32.dll");   // a module without icon 10004
    EXPECT_TRUE(ShowBoxesOf([&] {
        EXPECT_FALSE(AddTrayIcon(main));
        EXPECT_FALSE(ReAddTrayIcon(main));
    }, main).empty());
    EXPECT_TRUE(shellCalls.empty());
    EXPECT_FALSE(IconExists(main));
}

TEST_F(TrayTest, TheMenuShowsItsItemsGreysThePlacementInForceAndChecksBezSekund)
{
    const std::vector<MenuItem> expected = {
        { IDM_PLACE_BEFORE, false, false, Wide("Před název souboru") },
        { IDM_PLACE_AFTER, false, false, Wide("Za název souboru") },
        { IDM_WITHOUT_SECONDS, false, false, Wide("Bez sekund") },
        { 0, true, false, L"" },
        { IDM_EDIT_NAMES, false, false, Wide("Editace jmen") },
        { 0, true, false, L"" },
        { IDM_COUNTDOWN, false, false, Wide("Odpočítávání") },
        { 0, true, false, L"" },
        { IDM_ALARM, false, false, Wide("Alarm") },
        { 0, true, false, L"" },
        { IDM_ABOUT, false, false, Wide("About") },
        { IDM_EXIT, false, false, Wide("Ukončit program?") },
    };

    // Under Wine on a busy X server an older pointer position may still come
    // in after the cursor was set: it is set until it stays there.
    auto cursorStays = [] {
        int readings = 0;
        return PumpUntil([&readings] {
            POINT p;
            readings = GetCursorPos(&p) && p.x == 600 && p.y == 700 ? readings + 1 : 0;
            if (readings == 0)
                SetCursorPos(600, 700);
            return readings == 3;
        }, 10000);
    };
    ASSERT_TRUE(cursorStays()) << "the cursor never stayed at 600, 700";
    PostedTo(main);
    MenuWatcher watcher(true);
    TrayNotification(WM_RBUTTONDOWN);
    std::vector<UINT> afterFirst = PostedTo(main);
    placeBefore = 1;
    SendMessageW(main, WM_COMMAND, IDM_WITHOUT_SECONDS, 0);
    watcher.NextShowing();
    ASSERT_TRUE(cursorStays()) << "the cursor never stayed at 600, 700";
    TrayNotification(WM_RBUTTONDOWN);
    std::vector<UINT> afterSecond = PostedTo(main);

    ASSERT_EQ(watcher.showings.size(), 2u);
    for (int shown = 0; shown < 2; ++shown) {
        SCOPED_TRACE(shown == 0 ? "placeBefore 0, with seconds" : "placeBefore 1, without seconds");
        const Showing& showing = watcher.showings[shown];
        ASSERT_EQ(showing.items.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE("item " + std::to_string(i));
            EXPECT_EQ(showing.items[i].id, expected[i].id);
            EXPECT_EQ(showing.items[i].separator, expected[i].separator);
            EXPECT_EQ(showing.items[i].text, expected[i].text);
            bool greyed = (shown == 0 && expected[i].id == IDM_PLACE_AFTER) ||
                          (shown == 1 && expected[i].id == IDM_PLACE_BEFORE);
            if (!expected[i].separator)
                EXPECT_EQ(showing.items[i].grayed, greyed);
            EXPECT_EQ(showing.items[i].checked, shown == 1 && expected[i].id == IDM_WITHOUT_SECONDS);
        }
        // At the cursor, above it; the hidden main window in front meanwhile,
        // and the clock goes on ticking inside the menu's loop.
        EXPECT_EQ(showing.rect.left, 600);
        EXPECT_EQ(showing.rect.bottom, 700);
        EXPECT_EQ(showing.foreground, main);
        EXPECT_GE(showing.ticksWhileOpen, 1);
        // Loaded for this showing and destroyed after it.
        EXPECT_FALSE(IsMenu(showing.popup));
    }
    // Once the menu has returned, the main window's queue moves on, so the
    // next showing does not close at once.
    EXPECT_TRUE(Contains(afterFirst, WM_NULL));
    EXPECT_TRUE(Contains(afterSecond, WM_NULL));
}

TEST_F(TrayTest, OnlyARightButtonPressOnTheIconOpensTheMenuAndAChosenItemComesBack)
{
    MenuWatcher watcher;
    const UINT ignored[] = { WM_RBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                             WM_RBUTTONDBLCLK, WM_MBUTTONDOWN, WM_MOUSEMOVE, WM_CONTEXTMENU,
                             NIN_BALLOONUSERCLICK, NIN_BALLOONTIMEOUT };
    for (UINT mouseMessage : ignored) {
        TrayNotification(mouseMessage);
        PumpFor(100);
        EXPECT_TRUE(watcher.showings.empty()) << "notification " << mouseMessage << " opened the menu";
    }
    // Down to an item, then Enter: "Před název souboru", then "Za název souboru".
    UINT wanted = IDM_PLACE_BEFORE;
    watcher.choose = [&](HWND menuWindow) {
        for (const MenuItem& item : watcher.showings.back().items) {
            if (!item.separator)   // Down stops at every item, greyed ones too
                PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            if (item.id == wanted)
                break;
        }
        PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    };
    ASSERT_EQ(placeBefore, 0);
    TrayNotification(WM_RBUTTONDOWN);
    EXPECT_TRUE(PumpUntil([] { return placeBefore == 1; }, 5000)) << "\"Před název souboru\" never arrived";
    wanted = IDM_PLACE_AFTER;
    watcher.NextShowing();
    TrayNotification(WM_RBUTTONDOWN);
    EXPECT_TRUE(PumpUntil([] { return placeBefore == 0; }, 5000)) << "\"Za název souboru\" never arrived";
    EXPECT_EQ(watcher.showings.size(), 2u);
}

TEST_F(TrayTest, TheIconFollowsTheDisplayScaleAndComesBackWhenTheShellRestarts)
{
    KillTimer(main, mainTimerId);   // no tick changes the tooltip meanwhile
    ASSERT_TRUE(IconExists(main));
    // A new display scale (150 %): the image at its small-icon size.
    shellCalls.clear();
    RECT suggested = { 0, 0, 0, 0 };
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(Fields(shellCalls[0]).uFlags, static_cast<UINT>(NIF_ICON));
    EXPECT_EQ(IconWidth(Fields(shellCalls[0]).hIcon), 24);
    EXPECT_TRUE(shellCalls[0].result);

    // The shell's broadcast; every step runs with a box closer, so a wrong
    // box fails the test instead of hanging it.
    auto taskbarCreated = [this] {
        return ShowBoxesOf([this] { SendMessageW(main, RegisterWindowMessageA("TaskbarCreated"), 0, 0); }, main);
    };

    // A new shell knows no icons: the program adds its own again, quietly,
    // without the greeting balloon.
    RemoveIconBehindTheProgramsBack(main);
    ASSERT_FALSE(IconExists(main));
    shellCalls.clear();
    EXPECT_TRUE(taskbarCreated().empty());
    EXPECT_TRUE(IconExists(main));
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_ADD));
    // Loaded anew for the window's display scale (under Wine, always 100 %).
    EXPECT_EQ(IconWidth(Fields(shellCalls[0]).hIcon), GetSystemMetrics(SM_CXSMICON));
    ExpectedRecord again(main);
    again.Icon(Fields(shellCalls[0]).hIcon, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(shellCalls[0].record, again.bytes) << "first difference: "
                                                  << FirstDifference(shellCalls[0].record, again.bytes);

    // A shell that still has the icon refuses a second one: it is renewed.
    shellCalls.clear();
    shellMode = Shell::RefusesAdd;
    EXPECT_TRUE(taskbarCreated().empty());
    EXPECT_TRUE(IconExists(main));
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[1].message, static_cast<DWORD>(NIM_MODIFY));
    again.Icon(Fields(shellCalls[1]).hIcon, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(shellCalls[1].record, again.bytes);

    // The real shell, told twice, keeps one icon and says yes.
    shellMode = Shell::Answers;
    EXPECT_TRUE(taskbarCreated().empty());
    EXPECT_TRUE(shellCalls.back().result);
    EXPECT_TRUE(RemoveTrayIcon(main));
    EXPECT_FALSE(IconExists(main)) << "a second icon was left behind";

    // Taken in neither way: no box now, it is asked for again at the ticks.
    AddTrayIcon(main);
    shellMode = Shell::RefusesAll;
    EXPECT_TRUE(taskbarCreated().empty());
}

std::vector<DWORD> bellCalls;
BOOL WINAPI RecordingBell(LPCSTR, HMODULE, DWORD flags)
{
    bellCalls.push_back(flags);
    return TRUE;
}

// A second start (or an older version's) while a ring's box is open: the
// icon is renewed with a notice that the program runs already, queued rather
// than dropped (no NIF_REALTIME); the box and the bell go on.
TEST_F(TrayTest, ASecondStartRenewsTheIconWithANoticeThatItRunsAlreadyAndTheRingGoesOn)
{
    KillTimer(main, mainTimerId);   // no tick changes the tooltip meanwhile
    timerCalls.playBellSound = RecordingBell;
    std::vector<ShellCall> calls;
    bool ringing = false;
    ModalDriver ring("the ring box to be closed", 10000, [&] {
        std::vector<HWND> open = ring.open();
        if (open.empty())
            return;
        shellCalls.clear();
        SendMessageW(main, RegisterWindowMessageW(iconWantedMessageName), 0, 0);
        calls = shellCalls;
        ringing = IsWindow(open.back()) && bellCalls.size() == 1;   // started, not stopped
        PressOk(open.back());
    });
    RingBell(main, L"Alarm", L"Alarm");
    EXPECT_TRUE(ringing) << "the box or the bell ended with the second start";
    ASSERT_FALSE(calls.empty());
    EXPECT_TRUE(calls.back().result);
    ExpectedRecord notice(main);
    notice.Icon(Fields(calls.back()).hIcon, NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO);
    notice.Balloon("Tikavo_T už běží. Jeho ikona může být mezi skrytými ikonami pod šipkou ^.");
    EXPECT_EQ(calls.back().record, notice.bytes) << "first difference: "
                                                  << FirstDifference(calls.back().record, notice.bytes);
    EXPECT_TRUE(IconExists(main));
}

// ---- The tooltip: today in its first line -------------------------------

SYSTEMTIME tipNow;
void WINAPI TipClock(LPSYSTEMTIME now)
{
    *now = tipNow;
}

class TrayTooltip : public TrayTest {
protected:
    // The tooltips one tick at the given moment has the shell change (and
    // nothing else: no balloon again); "?" for any other call.
    std::vector<std::wstring> TipsOfATick(const SYSTEMTIME& at)
    {
        tipNow = at;
        shellCalls.clear();
        RunTick(main);
        std::vector<std::wstring> tips;
        for (const ShellCall& call : shellCalls)
            tips.push_back(call.message == NIM_MODIFY && Fields(call).uFlags == NIF_TIP && call.result
                           ? Fields(call).szTip : L"?");
        return tips;
    }
};

TEST_F(TrayTooltip, ItsFirstLineGivesTodaysDayDateAndNameAndChangesOnlyWithThem)
{
    using Tips = std::vector<std::wstring>;
    auto tip = [](const std::string& today) { return Wide((today + "\nTikavo_T " TIKAVO_VERSION).c_str()); };
    KillTimer(main, mainTimerId);   // the test ticks itself
    appCalls.readLocalTime = TipClock;
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList(Cp1250("Květoslava"))));
    EXPECT_EQ(TipsOfATick(At(2026, 12, 8, 23, 59, 58, 2)), Tips{ tip("Úterý 8.12.2026 – Květoslava") });
    EXPECT_EQ(TipsOfATick(At(2026, 12, 8, 23, 59, 59, 2)), Tips{}) << "the same day and name: the shell is not told";
    EXPECT_EQ(TipsOfATick(At(2026, 12, 9, 0, 0, 0, 3)), Tips{ tip("Středa 9.12.2026 – Květoslava") });

    // A corrected name, no name, and a name too long for the field's 127 characters.
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList(Cp1250("Řehoř"))));
    EXPECT_EQ(TipsOfATick(At(2026, 12, 9, 0, 0, 1, 3)), Tips{ tip("Středa 9.12.2026 – Řehoř") });
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList("")));
    EXPECT_EQ(TipsOfATick(At(2026, 12, 9, 0, 0, 2, 3)), Tips{ tip("Středa 9.12.2026") });
    const std::string longName(92, 'j');
    ASSERT_TRUE(WriteBytes(ListPath(), EveryDayList(longName)));
    const std::wstring cut = tip("Středa 9.12.2026 – " + longName).substr(0, 127);
    EXPECT_EQ(TipsOfATick(At(2026, 12, 9, 0, 0, 3, 3)), Tips{ cut });

    // A restarted shell gets the icon back with the tooltip of the day.
    shellCalls.clear();
    ASSERT_TRUE(ReAddTrayIcon(main));
    ASSERT_FALSE(shellCalls.empty());
    EXPECT_EQ(std::wstring(Fields(shellCalls.back()).szTip), cut);
}

TEST_F(TrayTest, AboutShowsTheProgramNameAndTheNoticeWhileTheClockTicks)
{
    int ticksAtOpen = -1;
    std::vector<std::wstring> texts;
    ModalDriver recorder("the about box to be closed", 10000, [&] {
        std::vector<HWND> open = recorder.open();
        if (open.empty())
            return;
        if (ticksAtOpen < 0) {
            ticksAtOpen = MainWindowTest::ticksSeen;
            for (HWND child = GetWindow(open.back(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                texts.push_back(WideTextOf(child));
        }
        if (ticksSeen > ticksAtOpen)
            PressOk(open.back());
    });
    SendMessageW(main, WM_COMMAND, IDM_ABOUT, 0);

    ASSERT_EQ(recorder.boxes().size(), 1u);
    const BoxInfo& about = recorder.boxes()[0];
    EXPECT_EQ(about.owner, main);
    EXPECT_NE(about.caption.find("Tikavo_T " TIKAVO_VERSION), std::string::npos) << about.caption;
    bool noticeShown = false;
    for (const std::wstring& text : texts)
        noticeShown = noticeShown || text == Wide("Hodiny v titulku okna – den, datum, čas a jméno, které má svátek.");
    EXPECT_TRUE(noticeShown) << "the about box shows the notice";
    EXPECT_GT(ticksSeen, ticksAtOpen) << "the clock ticks on while the about box is open";
}

}  // namespace
