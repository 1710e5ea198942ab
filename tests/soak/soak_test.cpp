// Three simulated years of one-second ticks through the program's rules:
// the tick's texts, the countdown, the daily alarm and today's name from the
// shipped list, with late ticks, skipped seconds, the clock set forward and
// back an hour twice a year, ten-minute pauses (the list being edited), the
// millisecond clock wrapping every 49.7 days, countdowns started at random
// and the alarm on at a random time.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "namedays/namelist.h"
#include "timers/alarm.h"
#include "timers/countdown.h"
#include "timers/timesettings.h"
#include "titleclock/clocktext.h"
#include "support/memorylist.h"

// Live heap allocations of the whole process, to see that nothing grows.
static std::atomic<long> liveAllocations{ 0 };

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    ++liveAllocations;
    return p;
}
void operator delete(void* p) noexcept
{
    if (p) {
        --liveAllocations;
        std::free(p);
    }
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

// ---- The simulated world ---------------------------------------------------

struct Civil { int year, month, day; };

// The date of a count of days since 1 January 1970.
Civil CivilFromDays(int64_t z)
{
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t y = yoe + era * 400;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return { static_cast<int>(y + (m <= 2)), m, d };
}

struct Local {
    LocalMoment moment;
    int dayOfWeek;   // 0 is Sunday
    int64_t days;    // days since 1 January 1970
};

Local LocalOf(int64_t localSeconds)
{
    int64_t days = localSeconds >= 0 ? localSeconds / 86400 : (localSeconds - 86399) / 86400;
    int64_t secondOfDay = localSeconds - days * 86400;
    static int64_t cachedDays = -1;
    static Civil cachedDate;
    if (days != cachedDays) {
        cachedDate = CivilFromDays(days);
        cachedDays = days;
    }
    const Civil& date = cachedDate;
    Local local;
    local.moment = { date.year, date.month, date.day, static_cast<int>(secondOfDay / 3600),
                     static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60) };
    local.dayOfWeek = static_cast<int>(((days % 7) + 11) % 7);   // 1 January 1970 was a Thursday
    local.days = days;
    return local;
}

// The shipped list, served from memory through the program's own reader.
struct ListInMemory {
    std::string bytes;
    size_t position = 0;
    long opens = 0;
    long bytesRead = 0;
};

ListOpen OpenList(void* context)
{
    auto* list = static_cast<ListInMemory*>(context);
    list->position = 0;
    ++list->opens;
    return ListOpen::opened;
}

size_t ReadList(void* context, char* buffer, size_t size)
{
    auto* list = static_cast<ListInMemory*>(context);
    size_t n = std::min(size, list->bytes.size() - list->position);
    std::memcpy(buffer, list->bytes.data() + list->position, n);
    list->position += n;
    list->bytesRead += static_cast<long>(n);
    return n;
}

void CloseList(void*) {}
void ReportFailure(void*) { ADD_FAILURE() << "the list always opens in the soak"; }

// The list's name for each date, read independently of the program's reader
// (a name in UTF-8 converted by the program's converter, tested on its own).
std::map<std::string, std::string> ExpectedNames(const std::string& list)
{
    std::map<std::string, std::string> names;
    std::istringstream lines(list.substr(list.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0));
    std::string line;
    char converted[maxListLineLength + 1];
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t separator = line.find(';');
        std::string name = line.substr(separator + 1);
        if (separator != std::string::npos && !names.count(line.substr(0, separator)))
            names[line.substr(0, separator)] = ConvertUtf8Name(name.c_str(), converted) ? converted : name;
    }
    return names;
}

int SecondsOf(const std::string& timeString)
{
    int h, m, s;
    SplitTime(timeString.c_str(), h, m, s);
    return h * 3600 + m * 60 + s;
}

TEST(ThreeYearSoak, TheRulesHoldThroughThreeYearsOfTicks)
{
    const unsigned seed = std::getenv("TIKAVO_SOAK_SEED")
        ? static_cast<unsigned>(std::strtoul(std::getenv("TIKAVO_SOAK_SEED"), nullptr, 10)) : 20261207u;
    std::mt19937_64 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));

    ListInMemory list;
    list.bytes = testsupport::ReadWholeFile(TIKAVO_SOURCE_DIR "/jmena.txt");
    ASSERT_GT(list.bytes.size(), 366u * 8);
    const std::map<std::string, std::string> expectedNames = ExpectedNames(list.bytes);
    ASSERT_EQ(expectedNames.size(), 366u);
    const NameListAccess access{ OpenList, ReadList, CloseList, ReportFailure, &list };

    TimerSettingsRecord TimerSettings;   // the program's state, as the tick keeps it
    InitTimerSettings(TimerSettings);
    int countdownActive = 0;
    std::string countdownRemaining;
    char clockText[1000];
    NameDays days;
    int64_t alarmLastCheck = alarmNoCheckYet;

    // True time in milliseconds from 1 January 2027 00:00 local winter time;
    // the local clock runs an hour ahead in summer. The millisecond clock
    // started some time before and wraps on its own.
    const int64_t epochDays = 20819;                      // 1 January 2027
    int64_t trueMs = epochDays * 86400000LL;
    const uint32_t bootOffset = static_cast<uint32_t>(random());
    int64_t localOffset = 0;                              // seconds; 3600 in summer
    // Three years; TIKAVO_SOAK_DAYS sets another length.
    const int64_t soakDays = std::getenv("TIKAVO_SOAK_DAYS")
        ? std::strtoll(std::getenv("TIKAVO_SOAK_DAYS"), nullptr, 10) : 3 * 365 + 1;
    const int64_t endMs = trueMs + soakDays * 86400000LL;

    // The alarm, on at a random time of day from the start.
    char alarmTime[16];
    int alarmSecond = static_cast<int>(random() % 86400);
    FormatSeconds(alarmTime, static_cast<uint32_t>(alarmSecond));
    std::strcpy(TimerSettings.alarmFlag, "Yes");
    std::strcpy(TimerSettings.alarmTime, alarmTime);
    RecordAlarmSwitchOn(alarmLastCheck, LocalOf(trueMs / 1000 + localOffset).moment);
    // Rings by the day of the moment rung, from the day before the start.
    std::vector<int> alarmRingsByMomentDay(static_cast<size_t>(soakDays) + 3, 0);
    int64_t firstAlarmDay = -1;

    // Countdowns.
    struct Countdown { int total; int64_t startTrueMs; uint32_t startMs; bool rang; };
    Countdown countdown{ 0, 0, 0, true };
    long countdownsStarted = 0, countdownsRung = 0;

    int64_t lastDays = -1;
    int64_t ticks = 0;
    long daysChecked = 0, pauses = 0, clockChanges = 0;
    long allocationsAfterWarmUp = -1;
    size_t nameCapacityLimit = 0;

    while (trueMs < endMs) {
        // When the next tick comes: on time, a little late, a second
        // skipped, or after a ten-minute pause in which the list is edited.
        uint64_t dice = random() % 100000;
        bool edited = false;
        if (dice < 3) {
            trueMs += 600000;
            edited = true;
            ++pauses;
        } else if (dice < 300) {
            trueMs += 2000 + static_cast<int64_t>(random() % 1000);
        } else {
            trueMs += 1000 + static_cast<int64_t>(random() % 40);
        }
        if (edited) {
            // What editing the list asks of the next tick.
            RequestLookupAfterEdit(days);
        }

        // Summer time: the clock goes forward an hour at the end of March and
        // back at the end of October, at 2:00 and 3:00 local time.
        Local local = LocalOf(trueMs / 1000 + localOffset);
        if (localOffset == 0 && local.moment.month == 3 && local.moment.day >= 25 && local.dayOfWeek == 0
            && local.moment.hour >= 2) {
            localOffset = 3600;
            ++clockChanges;
            local = LocalOf(trueMs / 1000 + localOffset);
        } else if (localOffset == 3600 && local.moment.month == 10 && local.moment.day >= 25
                   && local.dayOfWeek == 0 && local.moment.hour >= 3) {
            localOffset = 0;
            ++clockChanges;
            local = LocalOf(trueMs / 1000 + localOffset);
        }
        const LocalMoment& now = local.moment;
        const uint32_t nowMs = static_cast<uint32_t>(trueMs) + bootOffset;
        ++ticks;

        // Step 3: the day name.
        char szDay[dayNameSize];
        ChooseDayName(local.dayOfWeek, szDay);

        // Step 4: the countdown.
        if (countdownActive) {
            const int64_t elapsedMs = trueMs - countdown.startTrueMs;
            const bool zero = UpdateCountdown(TimerSettings.countdownDuration, countdown.startMs, nowMs, countdownRemaining);
            const int shown = SecondsOf(countdownRemaining);
            ASSERT_EQ(countdownRemaining.size(), 8u);
            ASSERT_LE(shown, countdown.total) << "never above the duration";
            ASSERT_GE(shown, 0);
            ASSERT_EQ(zero, elapsedMs >= countdown.total * 1000LL)
                << "rings at the first tick at or after its end, elapsed " << elapsedMs
                << " ms of " << countdown.total << " s";
            if (zero) {
                countdownActive = 0;
                ASSERT_FALSE(countdown.rang) << "a countdown rings once";
                countdown.rang = true;
                ++countdownsRung;
            } else {
                ASSERT_EQ(shown, countdown.total - static_cast<int>(elapsedMs / 1000));
            }
        } else if (random() % 20000 == 0) {
            // The user starts a countdown of a random duration.
            countdown = { static_cast<int>(random() % 86400), trueMs, nowMs, false };
            char duration[16];
            FormatSeconds(duration, static_cast<uint32_t>(countdown.total));
            std::strcpy(TimerSettings.countdownDuration, duration);
            countdownActive = 1;
            ++countdownsStarted;
        }

        // Step 5: the alarm.
        if (RecordAlarmCheck(alarmLastCheck, now, TimerSettings)) {
            // The moment this ring belongs to: today's, or yesterday's while
            // today's is still ahead.
            const int nowSecond = now.hour * 3600 + now.minute * 60 + now.second;
            const int64_t momentDay = nowSecond >= alarmSecond ? local.days : local.days - 1;
            ASSERT_GE(momentDay, epochDays - 1);
            ++alarmRingsByMomentDay.at(static_cast<size_t>(momentDay - epochDays + 1));
            if (firstAlarmDay < 0)
                firstAlarmDay = momentDay;
        }

        // Step 6: the clock text (its form is the core tests' business; here
        // it must simply be made every tick).
        FormatClock(clockText, sizeof clockText, szDay, now.day, now.month, now.year,
                    now.hour, now.minute, now.second);

        // Step 7: today's name.
        const long bytesBefore = list.bytesRead;
        ASSERT_TRUE(RunNameDayStep(days, now.day, now.month, access));
        if (local.days != lastDays || edited) {
            char key[16];
            std::snprintf(key, sizeof key, "%02d.%02d.", now.day, now.month);
            ASSERT_EQ(days.todayName, expectedNames.at(key)) << "on " << key << " " << now.year;
            lastDays = local.days;
            ++daysChecked;
        } else {
            ASSERT_EQ(list.bytesRead, bytesBefore) << "an ordinary tick reads nothing of the list";
        }

        // Nothing grows: after the first simulated week the live heap
        // allocations stay where they were (with room for the strings that
        // change length: the name, the note).
        if (ticks == 7 * 86400) {
            allocationsAfterWarmUp = liveAllocations.load();
            nameCapacityLimit = 128;
        }
        if (allocationsAfterWarmUp >= 0 && ticks % 86400 == 0) {
            ASSERT_LE(liveAllocations.load(), allocationsAfterWarmUp + 2) << "after " << ticks << " ticks";
            ASSERT_LE(days.todayName.capacity(), nameCapacityLimit);
            ASSERT_LE(countdownRemaining.capacity(), 32u);
        }
    }

    // Every day's alarm rang exactly once, from the first day on which its
    // moment came after the switch-on to the last full day.
    ASSERT_GE(firstAlarmDay, epochDays - 1);
    const int64_t lastDay = (endMs / 1000 - 86400) / 86400;
    for (int64_t day = firstAlarmDay; day < lastDay; ++day)
        ASSERT_EQ(alarmRingsByMomentDay.at(static_cast<size_t>(day - epochDays + 1)), 1)
            << "alarm of day " << day - epochDays << " of the soak";
    for (size_t day = 0; day < alarmRingsByMomentDay.size(); ++day)
        ASSERT_LE(alarmRingsByMomentDay[day], 1) << "day " << static_cast<long>(day) - 1 << " of the soak";

    EXPECT_GE(countdownsRung, countdownsStarted - 1);
    EXPECT_GT(countdownsStarted, soakDays / 10);
    EXPECT_GT(pauses, soakDays / 10);
    if (soakDays == 3 * 365 + 1)
        EXPECT_EQ(clockChanges, 6);
    EXPECT_GE(daysChecked, soakDays);
    EXPECT_EQ(list.opens, ticks) << "the list is opened on every tick";
    std::printf("soak: %lld ticks, %ld days, %ld countdowns, %ld pauses, %ld clock changes, seed %u\n",
                static_cast<long long>(ticks), daysChecked, countdownsStarted, pauses, clockChanges, seed);
}

}  // namespace
