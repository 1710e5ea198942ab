// The clock text: the Czech day names, the date without leading zeros and
// the zero-padded time, as Windows-1250 bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/cp1250.h"
#include "common/localtime.h"
#include "titleclock/clocktext.h"

namespace {

std::string Clock(int dayOfWeek, int day, int month, int year, int hour, int minute, int second)
{
    char szDay[dayNameSize];
    std::memset(szDay, 'x', sizeof szDay);
    ChooseDayName(dayOfWeek, szDay);
    char text[1000];
    std::memset(text, 'x', sizeof text);
    FormatClock(text, sizeof text, szDay, day, month, year, hour, minute, second);
    return text;
}

TEST(ClockText, EveryDayOfTheWeekShowsItsCzechName)
{
    // 6 to 12 December 2026 runs from Sunday to Saturday.
    const char* expected[7] = {
        "  * Ned\xEC" "le - 6.12.2026 - 22:48:35 * ",          // Neděle
        "  * Pond\xEC" "l\xED - 7.12.2026 - 22:48:35 * ",      // Pondělí
        "  * \xDAter\xFD - 8.12.2026 - 22:48:35 * ",           // Úterý
        "  * St\xF8" "eda - 9.12.2026 - 22:48:35 * ",          // Středa
        "  * \xC8tvrtek - 10.12.2026 - 22:48:35 * ",           // Čtvrtek
        "  * P\xE1tek - 11.12.2026 - 22:48:35 * ",             // Pátek
        "  * Sobota - 12.12.2026 - 22:48:35 * ",
    };
    for (int day = 0; day < 7; ++day)
        EXPECT_EQ(Clock(day, 6 + day, 12, 2026, 22, 48, 35), expected[day]) << "day of week " << day;

    // A reading that is no day of the week gives no name rather than
    // whatever lies beside the table.
    EXPECT_STREQ(DayName(7), "");
    EXPECT_STREQ(DayName(-1), "");
    EXPECT_EQ(Clock(7, 1, 1, 2027, 0, 0, 0), "  *  - 1.1.2027 - 00:00:00 * ");
}

TEST(ClockText, DatesHaveNoLeadingZerosAndTimesTwoDigitsPerField)
{
    EXPECT_EQ(Clock(1, 1, 3, 2027, 7, 5, 9), "  * Pond\xEC" "l\xED - 1.3.2027 - 07:05:09 * ");
    EXPECT_EQ(Clock(5, 31, 12, 2027, 0, 0, 0), "  * P\xE1tek - 31.12.2027 - 00:00:00 * ");
    EXPECT_EQ(Clock(6, 1, 1, 2000, 23, 59, 59), "  * Sobota - 1.1.2000 - 23:59:59 * ");

    char time[64];
    std::memset(time, 'x', sizeof time);
    FormatTimeString(time, sizeof time, 7, 5, 9);
    EXPECT_STREQ(time, "07:05:09");
    FormatTimeString(time, sizeof time, 0, 0, 0);
    EXPECT_STREQ(time, "00:00:00");
    FormatTimeString(time, sizeof time, 23, 59, 59);
    EXPECT_STREQ(time, "23:59:59");
}

std::u16string Widened(const char* text)
{
    std::u16string wide;
    return AppendCp1250(wide, text);
}

TEST(ClockText, CzechTextsWidenToTheSameLetters)
{
    // Widened into a title, every Czech letter and the typographic marks a
    // name or a note may carry come out as the same characters.
    EXPECT_TRUE(Widened("\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E")
                == u"ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    EXPECT_TRUE(Widened("\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E")
                == u"áčďéěíňóřšťúůýž");
    EXPECT_TRUE(Widened("\x84" "Ahoj\x93 \x96 5 \x80, \xA7 1") == u"„Ahoj“ – 5 €, § 1");
    EXPECT_TRUE(Widened("Za 00:01:00") == u"Za 00:01:00");
    EXPECT_TRUE(Widened("").empty());
}

}  // namespace
