// The countdown and the alarm inside the program: their dialogs driven
// in-process, the ring boxes, and ticks run inside dialogs and boxes.
// Runs under code pages 1250 and 1252.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <cstring>

#include "res/resource.h"
#include "support/mainwindow.h"
#include "timers/alarm.h"
#include "timers/countdown.h"

using namespace testsupport;

namespace {

// The two clocks of a tick, driven by the test.
SYSTEMTIME fakeLocal;
DWORD fakeMs;
int msReadsWithDialogOpen;
HWND watchedDialog;

void WINAPI FakeLocalTime(LPSYSTEMTIME now)
{
    *now = fakeLocal;
}

MMRESULT WINAPI FakeMilliseconds(LPMMTIME time, UINT)
{
    if (watchedDialog && IsWindow(watchedDialog))
        ++msReadsWithDialogOpen;
    time->wType = TIME_MS;
    time->u.ms = fakeMs;
    return TIMERR_NOERROR;
}

// Both clocks one second on.
void AdvanceOneSecond()
{
    FILETIME ft;
    SystemTimeToFileTime(&fakeLocal, &ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += 10000000ULL;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    FileTimeToSystemTime(&ft, &fakeLocal);
    fakeMs += 1000;
}

std::string PickerText(HWND picker)
{
    return NarrowTextOf(picker);
}

class TimersTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        fakeLocal = At(2026, 5, 15, 6, 59, 50);
        fakeMs = 0x7FFFF000u;
        msReadsWithDialogOpen = 0;
        watchedDialog = nullptr;
        appCalls.readLocalTime = timerCalls.readLocalTime = FakeLocalTime;
        timerCalls.readMillisecondClock = FakeMilliseconds;
        MakeMainWindow(false);   // the test runs the ticks itself, at its own pace
    }

    HWND Open(const char* caption) const { return boxes.Open(caption); }
    int CountCaptioned(const char* caption) const { return boxes.Count(caption); }

    // Runs dialog() (which opens a modal dialog) while act() is called with
    // the dialog captioned `caption` once it is open; act() is given the
    // dialog and is called again every 20 ms until it returns true.
    void WithDialog(const char* caption, const std::function<void()>& dialog,
                    const std::function<bool(HWND)>& act)
    {
        bool done = false;
        ThreadTicker driver(20, [&] {
            HWND dlg = Open(caption);
            if (dlg && !done)
                done = act(dlg);
        });
        dialog();
        EXPECT_TRUE(done) << "the dialog \"" << caption << "\" was not driven to its end";
    }

    // Every box and dialog of the test, closed at the latest after 20 s.
    ModalDriver boxes{ "the test's boxes and dialogs to be closed", 20000, [] {} };
};

void PressCancel(HWND dlg)
{
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// ---- Countdown -------------------------------------------------------------

TEST_F(TimersTest, CountdownDialogOffersTheLastDurationAndTheTemplatesNote)
{
    std::strcpy(TimerSettings.countdownDuration, "01:02:03");
    countdownNote = u"Minulá poznámka";   // the last note

    WithDialog("Timerset", [&] { RunCountdownDialog(main); }, [&](HWND dlg) {
        HWND picker = GetDlgItem(dlg, IDC_TIMEPICKER);
        HWND note = GetDlgItem(dlg, IDC_NOTE);
        SYSTEMTIME shown = PickerTime(picker);
        EXPECT_EQ(shown.wHour, 1);
        EXPECT_EQ(shown.wMinute, 2);
        EXPECT_EQ(shown.wSecond, 3);
        EXPECT_EQ(PickerText(picker), "01:02:03") << "the picker shows hours, minutes and seconds only";
        EXPECT_EQ(NarrowTextOf(note), Cp1250("K šéfovi pro pochvalu :)"));
        EXPECT_EQ(GetWindow(dlg, GW_OWNER), main);

        // The controls in their tab order, with the styles that matter: up-down
        // arrows on the picker, a note box that does not scroll.
        HWND ok = GetDlgItem(dlg, IDOK);
        EXPECT_EQ(GetNextDlgTabItem(dlg, ok, FALSE), GetDlgItem(dlg, IDCANCEL));
        EXPECT_EQ(GetNextDlgTabItem(dlg, GetDlgItem(dlg, IDCANCEL), FALSE), picker);
        EXPECT_EQ(GetNextDlgTabItem(dlg, picker, FALSE), note);
        EXPECT_EQ(GetNextDlgTabItem(dlg, note, FALSE), ok);
        LONG pickerStyle = GetWindowLongW(picker, GWL_STYLE);
        EXPECT_EQ(pickerStyle & (DTS_UPDOWN | DTS_RIGHTALIGN), DTS_UPDOWN | DTS_RIGHTALIGN);
        EXPECT_EQ(GetWindowLongW(note, GWL_STYLE) & ES_AUTOHSCROLL, 0);
        EXPECT_NE(GetWindowLongW(note, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        EXPECT_NE(GetWindowLongW(ok, GWL_STYLE) & BS_DEFPUSHBUTTON, 0);
        PressCancel(dlg);
        return true;
    });

    EXPECT_STREQ(TimerSettings.countdownDuration, "01:02:03");
    EXPECT_TRUE(countdownNote == u"Minulá poznámka");
    EXPECT_EQ(countdownActive, 0);
}

TEST_F(TimersTest, CountdownOkStoresDurationAndNoteAndCountsFromAfterTheDialog)
{
    // A countdown already runs: OK restarts it with the new values.
    StartCountdown();
    HWND dialogSeen = nullptr;
    WithDialog("Timerset", [&] { RunCountdownDialog(main); }, [&](HWND dlg) {
        dialogSeen = watchedDialog = dlg;
        SetPickerTime(GetDlgItem(dlg, IDC_TIMEPICKER), WithTimeOfDay(fakeLocal, 0, 0, 5));
        // Windows makes an ANSI dialog's note box ANSI, which loses the ř on
        // code page 1252 (Wine makes every control Unicode: the dialog tells).
        EXPECT_TRUE(IsWindowUnicode(dlg) && IsWindowUnicode(GetDlgItem(dlg, IDC_NOTE)));
        SetWindowTextW(GetDlgItem(dlg, IDC_NOTE), Wide("Porada u ředitele").c_str());
        fakeMs = 0x80000000u;
        PressOk(dlg);
        return true;
    });

    EXPECT_STREQ(TimerSettings.countdownDuration, "00:00:05");
    EXPECT_TRUE(countdownNote == u"Porada u ředitele");
    EXPECT_EQ(countdownActive, 1);
    EXPECT_EQ(msReadsWithDialogOpen, 0) << "the start must be read once the dialog has closed";
    EXPECT_FALSE(IsWindow(dialogSeen));

    // The ticks count down from the moment of OK, to the millisecond.
    fakeMs += 999;
    CheckCountdown(main);
    EXPECT_EQ(countdownRemaining, "00:00:05");
    fakeMs += 3001;
    CheckCountdown(main);
    EXPECT_EQ(countdownRemaining, "00:00:01");
    EXPECT_EQ(countdownActive, 1);
    EXPECT_EQ(boxes.boxes().size(), 1u) << "no ring before zero";
}

TEST_F(TimersTest, CountdownNoteIsCutTo249CharactersAndMayBeEmpty)
{
    std::string longNote(300, 'x');
    WithDialog("Timerset", [&] { RunCountdownDialog(main); }, [&](HWND dlg) {
        SetWindowTextA(GetDlgItem(dlg, IDC_NOTE), longNote.c_str());
        PressOk(dlg);
        return true;
    });
    EXPECT_TRUE(countdownNote == std::u16string(249, u'x'));

    WithDialog("Timerset", [&] { RunCountdownDialog(main); }, [&](HWND dlg) {
        EXPECT_EQ(NarrowTextOf(GetDlgItem(dlg, IDC_NOTE)), Cp1250("K šéfovi pro pochvalu :)"))
            << "each opening offers the template's note, not the last one";
        SetWindowTextA(GetDlgItem(dlg, IDC_NOTE), "");
        PressOk(dlg);
        return true;
    });
    EXPECT_TRUE(countdownNote.empty());
}

TEST_F(TimersTest, CountdownCancelOrADialogThatCannotOpenStopsItWithoutARing)
{
    std::strcpy(TimerSettings.countdownDuration, "00:00:03");
    StartCountdown();
    countdownNote = u"nezvonit";
    countdownRemaining = "00:00:03";
    WithDialog("Timerset", [&] { RunCountdownDialog(main); }, [&](HWND dlg) {
        PressCancel(dlg);
        return true;
    });
    EXPECT_EQ(countdownActive, 0);
    EXPECT_TRUE(countdownNote == u"nezvonit");

    fakeMs += 60000;
    CheckCountdown(main);
    EXPECT_EQ(countdownRemaining, "00:00:03") << "a stopped countdown keeps its last value";
    EXPECT_EQ(boxes.boxes().size(), 1u) << "no ring after CANCEL";

    // The template cannot be found: counts as CANCEL.
    countdownActive = 1;
    appInstance = GetModuleHandleW(L"user32.dll");
    RunCountdownDialog(main);
    EXPECT_EQ(countdownActive, 0);
    // ...and for the alarm it changes nothing.
    std::strcpy(TimerSettings.alarmFlag, "Yes");
    std::strcpy(TimerSettings.alarmTime, "07:00:00");
    RunAlarmDialog(main);
    EXPECT_STREQ(TimerSettings.alarmFlag, "Yes");
    EXPECT_STREQ(TimerSettings.alarmTime, "07:00:00");
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST_F(TimersTest, CountdownRingsAtZeroWithTheNoteAndTicksInsideTheBoxGoOnWithoutIt)
{
    TestWindow front(L"Dokument");
    ASSERT_TRUE(front.BringToFront());
    std::strcpy(TimerSettings.countdownDuration, "00:00:03");
    countdownNote = u"Porada u šéfa";
    StartCountdown();

    int ticks = 0, ticksInBox = 0;
    int activeWhenBoxOpened = -1;
    std::vector<std::string> remainingSeen;
    std::vector<std::wstring> titlesBefore, titlesInBox;
    bool finished = false;
    ThreadTicker tick(100, [&] {
        if (finished)
            return;
        AdvanceOneSecond();
        ++ticks;
        bool inBox = Open("Alaram Tikavo_T") != nullptr;
        if (inBox) {
            if (activeWhenBoxOpened < 0)
                activeWhenBoxOpened = countdownActive;
            // The user brings the document back in front of the box.
            SetForegroundWindow(front.hwnd());
            if (++ticksInBox == 4)
                PressOk(Open("Alaram Tikavo_T"));
        }
        RunTick(main);
        remainingSeen.push_back(countdownRemaining);
        (inBox ? titlesInBox : titlesBefore).push_back(front.Title());
    });
    ASSERT_TRUE(PumpUntil([&] { return ticksInBox >= 4 && !Open("Alaram Tikavo_T"); }, 10000))
        << "ticks: " << ticks << ", in the box: " << ticksInBox;
    finished = true;

    // While it runs, the title carries the remaining time and the note.
    ASSERT_GE(titlesBefore.size(), 2u);
    EXPECT_NE(titlesBefore[0].find(Wide("Za 00:00:02  Porada u šéfa")), std::wstring::npos)
        << Utf8(titlesBefore[0]);
    EXPECT_NE(titlesBefore[1].find(Wide("Za 00:00:01  Porada u šéfa")), std::wstring::npos)
        << Utf8(titlesBefore[1]);
    // Inside the box the clock goes on ticking in the title, without the countdown.
    ASSERT_GE(titlesInBox.size(), 3u);
    for (size_t i = 0; i < titlesInBox.size(); ++i) {
        EXPECT_EQ(titlesInBox[i].find(L" * Za "), std::wstring::npos) << Utf8(titlesInBox[i]);
        EXPECT_EQ(titlesInBox[i].rfind(L"Dokument  * ", 0), 0u) << Utf8(titlesInBox[i]);
        if (i > 0)
            EXPECT_NE(titlesInBox[i], titlesInBox[i - 1]) << "the clock stood still: " << Utf8(titlesInBox[i]);
    }

    ASSERT_EQ(boxes.boxes().size(), 1u) << "the countdown rings once";
    const BoxInfo& box = boxes.boxes()[0];
    EXPECT_EQ(box.caption, "Alaram Tikavo_T");
    EXPECT_EQ(box.text, Cp1250("Porada u šéfa"));
    EXPECT_EQ(box.owner, main);
    EXPECT_EQ(activeWhenBoxOpened, 0) << "the countdown is over before its box opens";
    EXPECT_EQ(countdownActive, 0);
    // 00:00:02 and 00:00:01 after one and two seconds, zero at the third.
    ASSERT_GE(remainingSeen.size(), 2u);
    EXPECT_EQ(remainingSeen[0], "00:00:02");
    EXPECT_EQ(remainingSeen[1], "00:00:01");
    for (const std::string& r : remainingSeen)
        EXPECT_NE(r.substr(0, 2), "23") << "never a wrapped time";
}

TEST_F(TimersTest, CountdownEndingWhileItsDialogIsOpenRingsThen)
{
    std::strcpy(TimerSettings.countdownDuration, "00:00:02");
    StartCountdown();
    bool rangInsideDialog = false;
    ThreadTicker tick(100, [&] {
        AdvanceOneSecond();
        RunTick(main);
    });
    WithDialog("Timerset", [&] { RunCountdownDialog(main); }, [&](HWND dlg) {
        HWND box = Open("Alaram Tikavo_T");
        if (!box)
            return false;
        rangInsideDialog = IsWindow(dlg) != FALSE;
        PressOk(box);
        PressCancel(dlg);
        return true;
    });
    EXPECT_TRUE(rangInsideDialog);
    EXPECT_EQ(CountCaptioned("Alaram Tikavo_T"), 1);
    EXPECT_EQ(countdownActive, 0);
}

TEST_F(TimersTest, TheMenuCommandWhileItsDialogIsOpenOpensNoSecondOne)
{
    StartCountdown();
    WithDialog("Timerset", [&] { RunCountdownDialog(main); }, [&](HWND dlg) {
        fakeMs += 5000;
        RunCountdownDialog(main);   // returns at once
        CheckCountdown(main);
        EXPECT_EQ(countdownRemaining, "00:00:55") << "the countdown goes on";
        // The longest countdown, up to the last hour.
        SetPickerTime(GetDlgItem(dlg, IDC_TIMEPICKER), WithTimeOfDay(fakeLocal, 23, 59, 59));
        PressOk(dlg);
        return true;
    });
    EXPECT_EQ(CountCaptioned("Timerset"), 1);
    EXPECT_STREQ(TimerSettings.countdownDuration, "23:59:59");

    WithDialog("AlarmSet", [&] { RunAlarmDialog(main); }, [&](HWND dlg) {
        RunAlarmDialog(main);
        SendMessageW(GetDlgItem(dlg, IDC_ALARMCHECK), BM_CLICK, 0, 0);
        PressOk(dlg);
        return true;
    });
    EXPECT_EQ(CountCaptioned("AlarmSet"), 1);
    EXPECT_STREQ(TimerSettings.alarmFlag, "Yes");
}

// ---- Alarm -----------------------------------------------------------------

SYSTEMTIME Now()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

// "yy:MM:dd:" as the alarm's picker shows a date.
std::string DatePart(const SYSTEMTIME& date)
{
    char text[16];
    wsprintfA(text, "%02d:%02d:%02d:", date.wYear % 100, date.wMonth, date.wDay);
    return text;
}

TEST_F(TimersTest, AlarmDialogStartsUntickedAndTheBoxEnablesThePickerAtOnce)
{
    const SYSTEMTIME opened = Now();
    WithDialog("AlarmSet", [&] { RunAlarmDialog(main); }, [&](HWND dlg) {
        HWND check = GetDlgItem(dlg, IDC_ALARMCHECK);
        HWND picker = GetDlgItem(dlg, IDC_TIMEPICKER);
        EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_FALSE(IsWindowEnabled(picker));
        // The picker shows the date and the time the dialog opened with
        // (either side of a midnight passing meanwhile).
        std::string shown = PickerText(picker);
        EXPECT_EQ(shown.size(), 17u) << shown;
        EXPECT_TRUE(shown.substr(0, 9) == DatePart(opened) || shown.substr(0, 9) == DatePart(Now())) << shown;
        SYSTEMTIME today = Now();
        EXPECT_EQ(NarrowTextOf(GetDlgItem(dlg, IDC_NOTE)), Cp1250("K šéfovi pro pochvalu :)"));
        EXPECT_EQ(GetNextDlgTabItem(dlg, GetDlgItem(dlg, IDCANCEL), FALSE), check);
        EXPECT_EQ(GetNextDlgTabItem(dlg, check, FALSE), GetDlgItem(dlg, IDC_NOTE))
            << "the disabled picker is out of the tab order";

        SendMessageW(check, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowEnabled(picker)) << "ticking enables the picker at once";
        EXPECT_EQ(GetNextDlgTabItem(dlg, check, FALSE), picker);
        SendMessageW(check, BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowEnabled(picker));
        SendMessageW(check, BM_CLICK, 0, 0);
        SetPickerTime(picker, WithTimeOfDay(today, 7, 8, 9));
        PressCancel(dlg);
        return true;
    });
    EXPECT_STREQ(TimerSettings.alarmFlag, "No") << "CANCEL changes nothing";
    EXPECT_STREQ(TimerSettings.alarmTime, "00:00:00");
}

TEST_F(TimersTest, AlarmOkKeepsOnlyTheTimeOfDayAndUntickedSwitchesItOff)
{
    WithDialog("AlarmSet", [&] { RunAlarmDialog(main); }, [&](HWND dlg) {
        SendMessageW(GetDlgItem(dlg, IDC_ALARMCHECK), BM_CLICK, 0, 0);
        SYSTEMTIME tomorrow = WithTimeOfDay(fakeLocal, 23, 8, 9);   // the day's last hour too
        tomorrow.wDay += 1;
        SetPickerTime(GetDlgItem(dlg, IDC_TIMEPICKER), tomorrow);
        PressOk(dlg);
        return true;
    });
    EXPECT_STREQ(TimerSettings.alarmFlag, "Yes");
    EXPECT_STREQ(TimerSettings.alarmTime, "23:08:09");

    const SYSTEMTIME opened = Now();
    WithDialog("AlarmSet", [&] { RunAlarmDialog(main); }, [&](HWND dlg) {
        HWND check = GetDlgItem(dlg, IDC_ALARMCHECK);
        HWND picker = GetDlgItem(dlg, IDC_TIMEPICKER);
        EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(IsWindowEnabled(picker));
        SYSTEMTIME shown = PickerTime(picker);
        EXPECT_TRUE(shown.wDay == opened.wDay || shown.wDay == Now().wDay) << "today's date with the alarm's time";
        EXPECT_EQ(shown.wHour, 23);
        EXPECT_EQ(shown.wMinute, 8);
        EXPECT_EQ(shown.wSecond, 9);
        SendMessageW(check, BM_CLICK, 0, 0);
        PressOk(dlg);
        return true;
    });
    EXPECT_STREQ(TimerSettings.alarmFlag, "No");
    EXPECT_STREQ(TimerSettings.alarmTime, "00:00:00");

    WithDialog("AlarmSet", [&] { RunAlarmDialog(main); }, [&](HWND dlg) {
        EXPECT_EQ(SendMessageW(GetDlgItem(dlg, IDC_ALARMCHECK), BM_GETCHECK, 0, 0), BST_UNCHECKED);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDC_TIMEPICKER)));
        PressCancel(dlg);
        return true;
    });
}

TEST_F(TimersTest, AlarmSetThroughItsDialogRingsOnceAndNotForAMomentAlreadyPast)
{
    auto SetAlarm = [&](int h, int m, int s) {
        WithDialog("AlarmSet", [&] { RunAlarmDialog(main); }, [&](HWND dlg) {
            HWND check = GetDlgItem(dlg, IDC_ALARMCHECK);
            if (SendMessageW(check, BM_GETCHECK, 0, 0) != BST_CHECKED)
                SendMessageW(check, BM_CLICK, 0, 0);
            SetPickerTime(GetDlgItem(dlg, IDC_TIMEPICKER), WithTimeOfDay(fakeLocal, h, m, s));
            PressOk(dlg);
            return true;
        });
    };
    // The last check at 06:59:40; set at 06:59:50 for 06:59:45, between them.
    fakeLocal = At(2026, 5, 15, 6, 59, 40);
    RunTick(main);
    fakeLocal = At(2026, 5, 15, 6, 59, 50);
    SetAlarm(6, 59, 45);
    for (int i = 0; i < 5; ++i) {
        AdvanceOneSecond();
        RunTick(main);
    }
    EXPECT_EQ(CountCaptioned("Alarm"), 0) << "a moment past when the alarm was set waits for tomorrow";

    SetAlarm(7, 0, 0);   // now 06:59:55
    int ticks = 0;
    bool closed = false;
    ThreadTicker tick(100, [&] {
        if (HWND box = Open("Alarm")) {
            PressOk(box);
            closed = true;
        }
        AdvanceOneSecond();
        ++ticks;
        RunTick(main);
    });
    ASSERT_TRUE(PumpUntil([&] { return closed && ticks >= 15; }, 10000)) << "ticks: " << ticks;
    ASSERT_EQ(CountCaptioned("Alarm"), 1);
    EXPECT_EQ(boxes.boxes().back().text, "Alarm");
    EXPECT_EQ(boxes.boxes().back().owner, main);
    EXPECT_STREQ(TimerSettings.alarmFlag, "Yes") << "the alarm stays on for tomorrow";
}

TEST_F(TimersTest, ACountdownRingingInTheAlarmsSecondNoLongerLosesTheAlarm)
{
    // The alarm at 07:00:00; the countdown's last second is the same tick.
    std::strcpy(TimerSettings.alarmFlag, "Yes");
    std::strcpy(TimerSettings.alarmTime, "07:00:00");
    RunTick(main);                                   // 06:59:50, the first check
    std::strcpy(TimerSettings.countdownDuration, "00:00:10");
    countdownNote = u"Porada";
    StartCountdown();

    int ticks = 0;
    bool finished = false;
    int ticksAfterAlarmBox = 0, alarmsOpenAtOnce = 0;
    bool alarmClosed = false;
    ThreadTicker tick(100, [&] {
        if (finished)
            return;
        HWND countdownBox = Open("Alaram Tikavo_T");
        HWND alarmBox = Open("Alarm");
        if (alarmBox) {
            alarmsOpenAtOnce = std::max(alarmsOpenAtOnce, static_cast<int>(boxes.open().size()));
            if (++ticksAfterAlarmBox == 2) {
                PressOk(alarmBox);
                alarmClosed = true;
            }
        } else if (alarmClosed && countdownBox) {
            PressOk(countdownBox);
        }
        AdvanceOneSecond();
        ++ticks;
        RunTick(main);
    });
    ASSERT_TRUE(PumpUntil([&] { return alarmClosed && boxes.open().empty() && ticks >= 20; }, 15000))
        << "ticks: " << ticks << ", boxes: " << boxes.boxes().size();
    finished = true;

    ASSERT_EQ(boxes.boxes().size(), 2u) << "the countdown's ring, then the alarm's inside its box";
    EXPECT_EQ(boxes.boxes()[0].caption, "Alaram Tikavo_T");
    EXPECT_EQ(boxes.boxes()[1].caption, "Alarm");
    EXPECT_EQ(alarmsOpenAtOnce, 2) << "the alarm rang while the countdown's box was open";
}

TEST_F(TimersTest, ATickHeldInTheCountdownsBoxOverADayDoesNotRingTheAlarmAgainButTheNextDayDoes)
{
    std::strcpy(TimerSettings.alarmFlag, "Yes");
    std::strcpy(TimerSettings.alarmTime, "07:00:00");
    fakeLocal = At(2026, 5, 15, 9, 59, 58);
    RunTick(main);
    std::strcpy(TimerSettings.countdownDuration, "00:00:02");
    StartCountdown();

    // The countdown rings at 10:00:00 and its box stays open until noon the
    // next day; the ticks inside it ring the alarm at 07:00:00. When the box
    // closes, the held tick resumes with a time more than a day old. The day
    // after, the alarm rings as every day.
    auto T = [](int day, int h, int m, int s) { return At(2026, 5, day, h, m, s); };
    std::vector<SYSTEMTIME> script = { T(15, 9, 59, 59), T(15, 10, 0, 0), T(16, 6, 59, 59), T(16, 7, 0, 0),
                                       T(16, 7, 0, 1), T(16, 12, 0, 0), T(16, 12, 0, 1), T(16, 12, 0, 2),
                                       T(16, 12, 0, 3), T(17, 6, 59, 59), T(17, 7, 0, 0), T(17, 7, 0, 1) };
    size_t next = 0;
    HWND lastAlarm = nullptr;
    std::vector<int> alarmDays;
    ThreadTicker tick(100, [&] {
        if (HWND alarm = Open("Alarm")) {
            if (alarm != lastAlarm)
                alarmDays.push_back(fakeLocal.wDay);
            lastAlarm = alarm;
            PressOk(alarm);
        } else if (HWND countdown = Open("Alaram Tikavo_T"); countdown && next >= 6) {
            PressOk(countdown);
        }
        if (next >= script.size())
            return;
        fakeLocal = script[next++];
        fakeMs += 1000;
        RunTick(main);
    });
    ASSERT_TRUE(PumpUntil([&] { return next == script.size() && boxes.open().empty(); }, 10000))
        << "ticks run: " << next;
    EXPECT_EQ(CountCaptioned("Alaram Tikavo_T"), 1);
    EXPECT_EQ(alarmDays, (std::vector<int>{ 16, 17 })) << "the days the alarm rang on";
}

}  // namespace
