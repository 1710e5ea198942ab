// The cost of one ordinary tick of the clock's rules, beside the floor that
// any title clock pays each second for noticing its list: a bare open and
// close of the same file. Prints the ratio (target: at most 1.3).
//
// Beside it, the worst of three windows with hostile titles.
//
// An ordinary tick: the day name, the alarm check, the clock text, the
// name-day step (the list opened and closed, no lookup due), and the title:
// read, recognised as the last decoration, composed anew, written and read
// back.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "namedays/namelist.h"
#include "timers/alarm.h"
#include "timers/timesettings.h"
#include "titleclock/clocktext.h"
#include "titleclock/titleledger.h"

namespace {

const char listPath[] = TIKAVO_SOURCE_DIR "/jmena.txt";

struct FileList { int fd = -1; };

ListOpen OpenList(void* context)
{
    auto* list = static_cast<FileList*>(context);
    list->fd = open(listPath, O_RDONLY);
    return list->fd >= 0 ? ListOpen::opened : ListOpen::failed;
}
size_t ReadList(void* context, char* buffer, size_t size)
{
    ssize_t got = read(static_cast<FileList*>(context)->fd, buffer, size);
    return got > 0 ? static_cast<size_t>(got) : 0;
}
void CloseList(void* context)
{
    close(static_cast<FileList*>(context)->fd);
}
void Report(void*) {}

// The window in front, as the ledger sees it: it keeps what it is given.
// (Its reads and writes stand for the system's, which the floor does too.)
std::u16string frontTitle = u"Dokument";
bool ReadTitle(void*, WindowId, std::u16string& title)
{
    title = frontTitle;
    return true;
}
WriteAnswer WriteTitle(void*, WindowId, const char16_t* text)
{
    frontTitle = text;
    return WriteAnswer::Answered;
}
bool Answers(void*, WindowId, bool) { return true; }

void OrdinaryTick(benchmark::State& state)
{
    FileList file;
    const NameListAccess access{ OpenList, ReadList, CloseList, Report, &file };
    const TitleAccess window{ ReadTitle, WriteTitle, Answers, nullptr };
    TitleLedger ledger;
    NameDays days;
    int64_t alarmLastCheck = alarmNoCheckYet;
    TimerSettingsRecord TimerSettings;
    InitTimerSettings(TimerSettings);
    char clockText[1000];
    RunNameDayStep(days, 7, 12, access);   // the day's lookup is behind us
    if (days.todayName.empty())
        state.SkipWithError("the list gave no name");
    LocalMoment now{ 2026, 12, 7, 10, 0, 0 };
    for (auto _ : state) {
        // The window still shows what the last tick wrote: its own title stays.
        FollowFront(ledger, window, 1);
        now.second = (now.second + 1) % 60;
        char szDay[dayNameSize];
        ChooseDayName(1, szDay);
        RecordAlarmCheck(alarmLastCheck, now, TimerSettings);
        FormatClock(clockText, sizeof clockText, szDay, now.day, now.month, now.year,
                    now.hour, now.minute, now.second);
        if (!RunNameDayStep(days, now.day, now.month, access))
            state.SkipWithError("the list did not open");
        DecorateFront(ledger, window, { clockText, days.todayName.c_str(), nullptr, u"", false });
        benchmark::DoNotOptimize(frontTitle);
    }
}
BENCHMARK(OrdinaryTick);

// A hostile window in front, for the tick's title steps: 0 adds 5,000 of one
// letter in front of every text; 1 is set by its owner, between each write
// and its read-back, to a run of one letter half or all of the longest title
// read; 2 keeps its title of 32,001 characters of " - ".
struct Hostile {
    int kind;
    std::u16string title;
    bool longer = false;
};
bool HostileRead(void* context, WindowId, std::u16string& title)
{
    title = static_cast<Hostile*>(context)->title;
    return true;
}
WriteAnswer HostileWrite(void* context, WindowId, const char16_t* text)
{
    auto* window = static_cast<Hostile*>(context);
    if (window->kind == 0)
        window->title.assign(5000, u'a').append(text);
    else if (window->kind == 1)
        window->title.assign((window->longer = !window->longer) ? 32000 : 16000, u'x');
    return WriteAnswer::Answered;
}

void HostileTick(benchmark::State& state)
{
    Hostile window{ static_cast<int>(state.range(0)), u"Dokument" };
    if (window.kind == 2)
        for (int i = 0; i < 10667; ++i)
            window.title += u" - ";
    const TitleAccess access{ HostileRead, HostileWrite, Answers, &window };
    TitleLedger ledger;
    char clockText[1000];
    int second = 0;
    for (auto _ : state) {
        FollowFront(ledger, access, 1);
        FormatClock(clockText, sizeof clockText, "Pond\xEC" "l\xED", 7, 12, 2026, 10, 0, second++ % 60);
        DecorateFront(ledger, access, { clockText, "Ambro\x9E", nullptr, u"", false });
        benchmark::DoNotOptimize(window.title);
    }
}
BENCHMARK(HostileTick)->DenseRange(0, 2);

void Floor(benchmark::State& state)
{
    for (auto _ : state) {
        int fd = open(listPath, O_RDONLY);
        benchmark::DoNotOptimize(fd);
        close(fd);
    }
}
BENCHMARK(Floor);

// Keeps each benchmark's time per iteration (the longest of its cases).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                nanoseconds[run.run_name.function_name] = std::max(nanoseconds[run.run_name.function_name],
                                                                   run.GetAdjustedCPUTime());
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

int main(int argc, char** argv)
{
    // The median of several repetitions: opening a file costs a system call,
    // whose time varies from run to run.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=7";
    char aggregates[] = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, { repetitions, aggregates });
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (double worst = reporter.nanoseconds["HostileTick"]; worst > 0)
        std::printf("\nThe worst hostile tick of the title steps: %.0f us (target: about 1000)\n", worst / 1000);
    if (reporter.nanoseconds.count("OrdinaryTick") && reporter.nanoseconds.count("Floor")) {
        double ratio = reporter.nanoseconds["OrdinaryTick"] / reporter.nanoseconds["Floor"];
        std::printf("\nOne ordinary tick of the rules: %.0f ns CPU; the floor (open and close of the list): %.0f ns (medians)\n"
                    "Ratio: %.2f x the floor (target <= 1.3)\n",
                    reporter.nanoseconds["OrdinaryTick"], reporter.nanoseconds["Floor"], ratio);
    }
    benchmark::Shutdown();
    return 0;
}
