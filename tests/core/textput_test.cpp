// The tick's texts are built without snprintf and its time strings read
// without atoi; they must come out exactly as snprintf and atoi would have
// them, also where a buffer cuts a text short.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/localtime.h"
#include "common/textput.h"
#include "namedays/namelist.h"
#include "support/memorylist.h"
#include "timers/timesettings.h"
#include "titleclock/clocktext.h"

namespace {

const int values[] = { 0, 1, 7, 9, 10, 59, 99, 100, 2026, 30827, -1, -5, -10, -2026, INT_MAX, INT_MIN };

TEST(TextPut, NumbersComeOutAsSnprintfWritesThemAtEveryCut)
{
    const char clockFormat[] = "  * %s - %d.%d.%d - %02d:%02d:%02d * ";
    for (int value : values) {
        int other = value == 0 ? 7 : value / -3;   // a different number in every other field
        char wanted[200];
        char text[200];
        size_t whole = static_cast<size_t>(std::snprintf(wanted, sizeof wanted, clockFormat, "Sobota",
                                                         value, other, value, other, value, other));
        for (size_t size = 1; size <= whole + 1; ++size) {
            std::snprintf(wanted, size, clockFormat, "Sobota", value, other, value, other, value, other);
            std::memset(text, 'x', sizeof text);
            FormatClock(text, size, "Sobota", value, other, value, other, value, other);
            EXPECT_STREQ(text, wanted) << value << " size " << size;
        }
        whole = static_cast<size_t>(std::snprintf(wanted, sizeof wanted, "%02d:%02d:%02d", value, other, value));
        for (size_t size = 1; size <= whole + 1; ++size) {
            std::snprintf(wanted, size, "%02d:%02d:%02d", value, other, value);
            std::memset(text, 'x', sizeof text);
            FormatTimeString(text, size, value, other, value);
            EXPECT_STREQ(text, wanted) << value << " size " << size;
        }
    }
}

TEST(TextPut, TheListKeysComeOutAsSnprintfWritesThem)
{
    for (int day : values)
        for (int month : { 12, 3, day }) {
            // The line snprintf writes for the date is today's line; the
            // day's later ticks read nothing, and another month is a new day.
            char line[128];
            std::snprintf(line, sizeof line, "31.02.;Nikdo\r\n%02d.%02d.;Dnes\r\n", day, month);
            NameDays days;
            testsupport::MemoryList list;
            list.bytes = line;
            EXPECT_TRUE(list.Tick(days, day, month));
            EXPECT_EQ(days.todayName, "Dnes") << day << "." << month;
            list.bytes = "";
            list.Tick(days, day, month);
            EXPECT_EQ(days.todayName, "Dnes") << day << "." << month << " looked up twice";
            list.Tick(days, day, month == 12 ? 3 : 12);
            EXPECT_EQ(days.todayName, "") << day << "." << month << " and another month are one day";
        }
}

TEST(TextPut, TextIsCutLikeSnprintfCutsIt)
{
    char buffer[8];
    char* p = buffer;
    const char* end = TextLimit(buffer, sizeof buffer);
    PutText(p, end, "Pond\xEC" "l\xED");   // Pondělí, 7 bytes: fits with its terminator
    TextEnd(p);
    EXPECT_STREQ(buffer, "Pond\xEC" "l\xED");
    p = buffer;
    PutText(p, end, "  * Sobota");
    PutText(p, end, "!");
    TextEnd(p);
    EXPECT_STREQ(buffer, "  * Sob");
}

TEST(TextPut, TimeStringsAreReadAsAtoiReadsThem)
{
    const char* texts[] = { "", "0", "07", "08", "09", "23", " 12", "\t+5", "-3", "12:34", "5x", "x5",
                            "--1", "+-1", " - 1", "2147483647", "-2147483648", "0000000000042" };
    int hours, minutes, seconds;
    for (const char* text : texts) {
        SplitTime(text, hours, minutes, seconds);
        EXPECT_EQ(hours, std::atoi(text)) << '"' << text << '"';
        // The same as the last part of a time string.
        SplitTime(("1:2:" + std::string(text)).c_str(), hours, minutes, seconds);
        EXPECT_EQ(seconds, std::atoi(text)) << "\"1:2:" << text << '"';
    }
    // Beyond int's range atoi is undefined; the reading holds at the ends.
    SplitTime("99999999999999999999:-99999999999999999999:-2147483649", hours, minutes, seconds);
    EXPECT_EQ(hours, INT_MAX);
    EXPECT_EQ(minutes, INT_MIN);
    EXPECT_EQ(seconds, INT_MIN);
    SplitTime("2147483648:+00000000000000000000000000000000000000001", hours, minutes, seconds);
    EXPECT_EQ(hours, INT_MAX);
    EXPECT_EQ(minutes, 1);
}

}  // namespace
