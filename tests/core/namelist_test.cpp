// The name-day list: how its lines are read and split, which line gives
// today's name, and on which ticks the list is read at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "namedays/namelist.h"
#include "support/memorylist.h"

using testsupport::FileList;
using testsupport::MemoryList;

namespace {

const char mikulas[] = "Mikul\xE1\x9A";                // Mikuláš in Windows-1250
const char mikulasUtf8[] = "Mikul\xC3\xA1\xC5\xA1";    // Mikuláš in UTF-8
const char ambroz[] = "Ambro\x9E a Benjam\xEDn";       // Ambrož a Benjamín

// Today's name after the first tick of a freshly started program.
std::string LookUp(const std::string& list, int day, int month, std::size_t chunk = static_cast<std::size_t>(-1))
{
    NameDays days;
    MemoryList memory;
    memory.bytes = list;
    memory.chunk = chunk;
    EXPECT_TRUE(memory.Tick(days, day, month));
    return days.todayName;
}

// The lines one tick's stream hands out, until it fails.
std::vector<std::string> ReadAll(const std::string& bytes, std::size_t chunk)
{
    MemoryList memory;
    memory.bytes = bytes;
    memory.chunk = chunk;
    NameListAccess access = memory.Access();
    NameListStream stream;
    StartListStream(stream, access);
    std::vector<std::string> lines;
    char etxt[maxListLineLength + 1];
    for (int i = 0; i < 1000 && !stream.failed; ++i) {
        ReadListLine(stream, etxt);
        lines.push_back(etxt);
    }
    return lines;
}

std::string Filler(int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "05.12.;Jitka\r\n";
    return lines;
}

TEST(NameListLines, OnlyTheExactTwoDigitDateMatches)
{
    std::string list = std::string("6.12.;Jeden\r\n 06.12.;Dva\r\n06.12;T\xF8i\r\n12.06.;\xC8ty\xF8i\r\n")
                       + "06.12.;" + mikulas + "\r\n";
    EXPECT_EQ(LookUp(list, 6, 12), mikulas);
    EXPECT_EQ(LookUp("1.03.;Jeden\n01.3.;Dva\n01.03.;Bed\xF8ich\n", 1, 3), "Bed\xF8ich");   // Bedřich
    EXPECT_EQ(LookUp("6.12.;Jeden\n 06.12.;Dva\n", 6, 12), "");
}

TEST(NameListLines, TheNameIsTakenUnchangedAndFurtherFieldsAreIgnored)
{
    EXPECT_EQ(LookUp(std::string("06.12.; ") + mikulas + "\r\n", 6, 12), std::string(" ") + mikulas);
    EXPECT_EQ(LookUp(std::string("06.12.;") + mikulas + "  \r\n", 6, 12), std::string(mikulas) + "  ");
    EXPECT_EQ(LookUp(std::string("06.12.;") + mikulas + ";x\r\n", 6, 12), mikulas);
    EXPECT_EQ(LookUp(std::string(";06.12.;;") + mikulas + ";\r\n", 6, 12), mikulas);
    EXPECT_EQ(LookUp(std::string(";;;06.12.;;;") + mikulas + ";;;x;;y\n", 6, 12), mikulas);
    EXPECT_EQ(LookUp("06.12.;Petr a Pavel\n", 6, 12), "Petr a Pavel");
}

TEST(NameListLines, EmptyLinesAreSkippedAndTheLastLineNeedsNoLineEnd)
{
    std::string list = std::string("\r\n\n;;;\r\n;\n05.12.;Jitka\r\n\r\n\r\n06.12.;") + mikulas;
    EXPECT_EQ(LookUp(list, 6, 12), mikulas);
    EXPECT_EQ(LookUp(list, 5, 12), "Jitka");
    EXPECT_EQ(LookUp("06.12.;Mikul", 6, 12), "Mikul");
    EXPECT_EQ(LookUp("", 6, 12), "");
    EXPECT_EQ(LookUp("\r\n", 6, 12), "");
}

TEST(NameListLines, TheFirstOfTwoLinesForTodayWins)
{
    EXPECT_EQ(LookUp(std::string("06.12.;") + mikulas + "\n06.12.;Nikolas\n", 6, 12), mikulas);
    EXPECT_EQ(LookUp(std::string("06.12.\n06.12.;") + mikulas + "\n", 6, 12), "")
        << "a line with the date alone is today's line all the same";
}

TEST(NameListLines, Line366IsFoundAndLine367IsNot)
{
    std::string today = std::string("06.12.;") + mikulas + "\r\n";
    EXPECT_EQ(LookUp(Filler(365) + today, 6, 12), mikulas);
    EXPECT_EQ(LookUp(Filler(366) + today, 6, 12), "");
    // Empty lines count as lines.
    EXPECT_EQ(LookUp(std::string(365, '\n') + today, 6, 12), mikulas);
    EXPECT_EQ(LookUp(std::string(366, '\n') + today, 6, 12), "");
}

TEST(NameListLines, ANinetyNineCharacterLineIsReadWhole)
{
    std::string longName(92, 'a');
    longName.back() = 'z';
    std::string line99 = "06.12.;" + longName;
    ASSERT_EQ(line99.size(), 99u);
    EXPECT_EQ(LookUp(line99 + "\r\n", 6, 12), longName);
    EXPECT_EQ(LookUp(line99 + "\n", 6, 12), longName);
    EXPECT_EQ(LookUp(line99, 6, 12), longName);
    // Reading goes on after it, also when its CR LF is split across reads.
    std::string other = "05.12.;" + longName;
    for (std::size_t chunk : { 1u, 2u, 3u, 100u, 101u, 512u })
        EXPECT_EQ(LookUp(other + "\r\n06.12.;Dal\x9A\xED\r\n", 6, 12, chunk), "Dal\x9A\xED") << "chunk " << chunk;
}

TEST(NameListLines, ALongerLineGivesItsFirst99CharactersAndEndsTheTicksReading)
{
    std::string longName(120, 'b');
    EXPECT_EQ(LookUp("06.12.;" + longName + "\r\n", 6, 12), longName.substr(0, 92));
    // A hundredth character that is a lone CR makes the line too long as well.
    EXPECT_EQ(LookUp("05.12.;" + longName.substr(0, 92) + "\r" + "\n06.12.;Za\n", 6, 12), "Za");
    EXPECT_EQ(LookUp("05.12.;" + longName.substr(0, 92) + "\rx\n06.12.;Za\n", 6, 12), "");
    // No line after a long one is reached on that tick...
    std::string list = "05.12.;" + longName + "\r\n06.12.;" + mikulas + "\r\n";
    EXPECT_EQ(LookUp(list, 6, 12), "");
    // ...but lines in front of it still count.
    EXPECT_EQ(LookUp(std::string("06.12.;") + mikulas + "\r\n05.12.;" + longName + "\r\n", 6, 12), mikulas);
}

TEST(NameListLines, TextModeDropsOnlyTheCarriageReturnInFrontOfALineFeed)
{
    std::string bytes = "a\r\nb\r\r\nc\rd\n\re\r";
    for (std::size_t chunk : { 1u, 2u, 3u, 512u }) {
        std::vector<std::string> lines = ReadAll(bytes, chunk);
        std::vector<std::string> expected = { "a", "b\r", "c\rd", "\re\r", "" };
        EXPECT_EQ(lines, expected) << "chunk " << chunk;
    }
    // A byte-order mark counts only at the very start of the list.
    std::vector<std::string> expected = { "a", "\xEF\xBB\xBF" "b", "" };
    EXPECT_EQ(ReadAll("\xEF\xBB\xBF" "a\n\xEF\xBB\xBF" "b\n", 1), expected);
    EXPECT_EQ(ReadAll("\xEF\xBB\xBF", 512), std::vector<std::string>{ "" });
    EXPECT_EQ(ReadAll("\xEF\xBB", 512), (std::vector<std::string>{ "\xEF\xBB", "" }));
}

TEST(NameListLines, AnEndlessLineIsNotReadBeyondItsLimit)
{
    NameDays days;
    MemoryList memory;
    memory.bytes = "06.12." + std::string(5 * 1000 * 1000, 'x');
    EXPECT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(days.todayName, "");
    EXPECT_LE(memory.bytesRead, 1024u) << "a tick read far into a line that cannot be a list line";

    // Garbage without line ends is as harmless; so are a million empty lines.
    days = {};
    memory.bytes = std::string(1000 * 1000, '\0');
    memory.bytesRead = 0;
    EXPECT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_LE(memory.bytesRead, 1024u);
    days = {};
    memory.bytes = std::string(1000 * 1000, '\n');
    memory.bytesRead = 0;
    EXPECT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_LE(memory.bytesRead, 366u + 512u);
}

TEST(NameListChoices, ALookupThatFindsNothingLeavesTheNameEmpty)
{
    NameDays days;
    MemoryList memory;
    memory.bytes = std::string("06.12.;") + mikulas + "\r\n08.12.;Kv\xECtoslava\r\n";   // Květoslava
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    ASSERT_EQ(days.todayName, mikulas);
    // The next day is missing: no name, neither yesterday's nor the last line's.
    ASSERT_TRUE(memory.Tick(days, 7, 12));
    EXPECT_EQ(days.todayName, "");
    ASSERT_TRUE(memory.Tick(days, 8, 12));
    EXPECT_EQ(days.todayName, "Kv\xECtoslava");
}

TEST(NameListChoices, ADateWithoutANameGivesAnEmptyName)
{
    EXPECT_EQ(LookUp("06.12.\r\n", 6, 12), "");
    EXPECT_EQ(LookUp("06.12.;;;\r\n", 6, 12), "");
    EXPECT_EQ(LookUp(";06.12.\r\n07.12.;Ambro\x9E\r\n", 6, 12), "");
}

TEST(NameDayTicks, TheFirstTickLooksUpAndTheOtherTicksOfTheDayReadNothing)
{
    NameDays days;
    MemoryList memory;
    memory.bytes = Filler(100) + "06.12.;" + mikulas + "\r\n" + Filler(100);
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(days.todayName, mikulas);
    EXPECT_GT(memory.bytesRead, 0u);

    // The list changes on disk; the day's later ticks open it but do not read it.
    memory.bytes = std::string("06.12.;Nikolas\r\n");
    memory.reads = 0;
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(memory.reads, 0);
    EXPECT_EQ(memory.opens, 6);
    EXPECT_EQ(memory.closes, 6);
    EXPECT_EQ(days.todayName, mikulas);
    EXPECT_EQ(memory.reports, 0);
}

TEST(NameDayTicks, ANewDayLooksTheNewNameUpOnItsFirstTick)
{
    NameDays days;
    MemoryList memory;
    memory.bytes = std::string("31.12.;Silvestr\r\n01.01.;Nov\xFD rok\r\n06.12.;") + mikulas + "\r\n07.12.;" + ambroz;
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(days.todayName, mikulas);
    ASSERT_TRUE(memory.Tick(days, 7, 12));
    EXPECT_EQ(days.todayName, ambroz);
    int reads = memory.reads;
    ASSERT_TRUE(memory.Tick(days, 7, 12));
    EXPECT_EQ(memory.reads, reads);
    // Over the turn of the year, in a run that began the day before.
    ASSERT_TRUE(memory.Tick(days, 31, 12));
    EXPECT_EQ(days.todayName, "Silvestr");
    ASSERT_TRUE(memory.Tick(days, 1, 1));
    EXPECT_EQ(days.todayName, "Nov\xFD rok");   // Nový rok
}

TEST(NameDayTicks, TheFirstTickReadsTheListOnceForBothItsLookups)
{
    NameDays days;
    MemoryList memory;
    memory.bytes = std::string("06.12.;") + mikulas + "\r\n" + Filler(300);
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_FALSE(days.firstLookupDue);
    EXPECT_EQ(days.todayName, mikulas);
    // The first lookup only confirmed the line the day's lookup found: the
    // fillers after it were never needed.
    EXPECT_LT(memory.bytesRead, 1024u);
}

TEST(NameDayTicks, AnEditIsLookedUpOnTheNextTickOfTheSameDay)
{
    NameDays days;
    MemoryList memory;
    memory.bytes = std::string("06.12.;") + mikulas + "\r\n";
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    ASSERT_EQ(days.todayName, mikulas);

    memory.bytes = "05.12.;Jitka\r\n06.12.;Nikolas\r\n";
    RequestLookupAfterEdit(days);
    memory.reads = 0;
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(days.todayName, "Nikolas");
    EXPECT_FALSE(days.editLookupDue);
    EXPECT_GT(memory.reads, 0);

    // Closing the editor without a change reads the list all the same.
    RequestLookupAfterEdit(days);
    memory.reads = 0;
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_GT(memory.reads, 0);
    EXPECT_EQ(days.todayName, "Nikolas");
    memory.reads = 0;
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(memory.reads, 0);
}

TEST(NameDayTicks, AMissingListIsReportedOnceAndLookupsWaitForIt)
{
    NameDays days;
    MemoryList memory;
    memory.present = false;
    memory.bytes = std::string("06.12.;") + mikulas + "\r\n07.12.;" + ambroz + "\r\n08.12.;Kv\xECtoslava\r\n";

    // Missing at start: one report, and that tick writes no title.
    EXPECT_FALSE(memory.Tick(days, 6, 12));
    EXPECT_EQ(memory.reports, 1);
    EXPECT_TRUE(days.listErrorShown);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(memory.reports, 1);
    EXPECT_EQ(days.todayName, "");

    // Put in place: the next tick finds the name.
    memory.present = true;
    EXPECT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(days.todayName, mikulas);

    // Gone again, also past midnight: no new report, the name stays.
    memory.present = false;
    EXPECT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_TRUE(memory.Tick(days, 7, 12));
    EXPECT_EQ(days.todayName, mikulas);
    // An edit meanwhile waits too.
    RequestLookupAfterEdit(days);
    EXPECT_TRUE(memory.Tick(days, 7, 12));
    EXPECT_TRUE(days.editLookupDue);
    EXPECT_EQ(memory.reports, 1);

    // Back: the day's lookup and the pending edit's both run on its first tick.
    memory.bytes = std::string("07.12.;Benjam\xEDn\r\n");
    memory.present = true;
    EXPECT_TRUE(memory.Tick(days, 7, 12));
    EXPECT_EQ(days.todayName, "Benjam\xEDn");
    EXPECT_FALSE(days.editLookupDue);
    EXPECT_EQ(memory.reports, 1);
    EXPECT_EQ(memory.opens, memory.closes);
}

TEST(NameDayTicks, TicksInsideTheErrorBoxTakeTheSilentPath)
{
    NameDays days;
    MemoryList outer;
    outer.present = false;
    MemoryList inner;
    inner.present = false;
    inner.bytes = std::string("06.12.;") + mikulas + "\r\n";
    std::vector<bool> innerResults;
    outer.onReport = [&] {
        // The box is open: its loop goes on ticking. The list comes back
        // while the box is still open.
        innerResults.push_back(inner.Tick(days, 6, 12));
        inner.present = true;
        innerResults.push_back(inner.Tick(days, 6, 12));
        innerResults.push_back(inner.Tick(days, 6, 12));
    };
    EXPECT_FALSE(outer.Tick(days, 6, 12));
    EXPECT_EQ(outer.reports, 1);
    EXPECT_EQ(inner.reports, 0);
    EXPECT_EQ(innerResults, (std::vector<bool>{ true, true, true }));
    // The inner ticks' lookup stands; the outer tick only ended.
    EXPECT_EQ(days.todayName, mikulas);
    EXPECT_FALSE(days.firstLookupDue);
    EXPECT_EQ(outer.closes, 0);
    EXPECT_EQ(inner.opens, inner.closes);
}

TEST(NameDayTicks, ALongLineEndingATicksReadingLeavesTheLaterLookupsDue)
{
    // Today's line is too long: the day's lookup takes the name from its
    // first 99 characters, and the stream is failed, so the first lookup and
    // a pending edit's wait for the next ticks, one each.
    NameDays days;
    MemoryList memory;
    std::string name(100, 'n');
    memory.bytes = "06.12.;" + name + "\r\n";
    RequestLookupAfterEdit(days);
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(days.todayName, name.substr(0, 92));
    EXPECT_TRUE(days.firstLookupDue);
    int reads = memory.reads;
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_GT(memory.reads, reads);
    EXPECT_FALSE(days.firstLookupDue);
    EXPECT_TRUE(days.editLookupDue);
    reads = memory.reads;
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_GT(memory.reads, reads);
    EXPECT_FALSE(days.editLookupDue);
    reads = memory.reads;
    ASSERT_TRUE(memory.Tick(days, 6, 12));
    EXPECT_EQ(memory.reads, reads);
    EXPECT_EQ(days.todayName, name.substr(0, 92));
}

TEST(NameListUtf8, AListSavedAsUtf8GivesTheNameInWindows1250)
{
    std::string utf8List = std::string("01.01.;Nov\xC3\xBD rok\r\n06.12.;") + mikulasUtf8 + "\r\n";
    // With a byte-order mark (which would otherwise hide the first date)...
    EXPECT_EQ(LookUp("\xEF\xBB\xBF" + utf8List, 6, 12), mikulas);
    EXPECT_EQ(LookUp("\xEF\xBB\xBF" + utf8List, 1, 1), "Nov\xFD rok");
    // ...and without.
    EXPECT_EQ(LookUp(utf8List, 6, 12), mikulas);
    EXPECT_EQ(LookUp(utf8List, 1, 1), "Nov\xFD rok");
    // Every Czech letter, small and capital.
    EXPECT_EQ(LookUp("06.12.;\xC3\xA1\xC4\x8D\xC4\x8F\xC3\xA9\xC4\x9B\xC3\xAD\xC5\x88\xC3\xB3\xC5\x99\xC5\xA1\xC5\xA5\xC3\xBA\xC5\xAF\xC3\xBD\xC5\xBE"
                     "\xC3\x81\xC4\x8C\xC4\x8E\xC3\x89\xC4\x9A\xC3\x8D\xC5\x87\xC3\x93\xC5\x98\xC5\xA0\xC5\xA4\xC3\x9A\xC5\xAE\xC3\x9D\xC5\xBD\n", 6, 12),
              "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E"
              "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E");
}

TEST(NameListUtf8, OtherNamesAreTakenAsTheyAre)
{
    // A Windows-1250 list is read unchanged, also where its bytes look like UTF-8 lead bytes.
    EXPECT_EQ(LookUp(std::string("06.12.;") + mikulas + "\r\n", 6, 12), mikulas);
    EXPECT_EQ(LookUp("06.12.;\xC8" "e\xF2" "ka\r\n", 6, 12), "\xC8" "e\xF2" "ka");
    // UTF-8 with a letter Windows-1250 lacks (Ø) would lose it: kept as bytes.
    EXPECT_EQ(LookUp("06.12.;\xC3\x98ystein\r\n", 6, 12), "\xC3\x98ystein");
    // Not valid UTF-8: overlong, cut short, a surrogate.
    EXPECT_EQ(LookUp("06.12.;\xC0\xAF\r\n", 6, 12), "\xC0\xAF");
    EXPECT_EQ(LookUp("06.12.;\xE0\x83\xA1\r\n", 6, 12), "\xE0\x83\xA1");
    EXPECT_EQ(LookUp("06.12.;Mikul\xC3\r\n", 6, 12), "Mikul\xC3");
    EXPECT_EQ(LookUp("06.12.;\xED\xA0\x80\r\n", 6, 12), "\xED\xA0\x80");
    // Plain ASCII stays as it is.
    EXPECT_EQ(LookUp("\xEF\xBB\xBF" "06.12.;Nikolas\r\n", 6, 12), "Nikolas");
}

// The list that ships beside the program.
std::string ShippedListPath()
{
    return std::string(TIKAVO_SOURCE_DIR) + "/jmena.txt";
}

TEST(ShippedList, NamesEveryDayOfALeapYearAndAnOrdinaryTickReadsNothing)
{
    const int daysIn[12] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    FileList file;
    file.path = ShippedListPath();
    int dates = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= daysIn[month - 1]; ++day) {
            NameDays days;
            ASSERT_TRUE(file.Tick(days, day, month));
            ASSERT_EQ(file.opens, dates + 1) << "jmena.txt cannot be opened at " << file.path;
            EXPECT_FALSE(days.todayName.empty()) << "no name on " << day << "." << month << ".";
            EXPECT_EQ(days.todayName.find(';'), std::string::npos);
            ++dates;
        }
    }
    EXPECT_EQ(dates, 366);

    NameDays days;
    ASSERT_TRUE(file.Tick(days, 6, 12));
    EXPECT_EQ(days.todayName, mikulas);
    std::size_t before = file.bytesRead;
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(file.Tick(days, 6, 12));
    EXPECT_EQ(file.bytesRead, before) << "a tick with no lookup due read the list";
    EXPECT_EQ(file.opens, file.closes);

    const struct { int day, month; const char* name; } known[] = {
        { 1, 1, "Nov\xFD rok" }, { 29, 2, "Horym\xEDr" }, { 19, 3, "Josef" }, { 24, 4, "Ji\xF8\xED" },
        { 5, 7, "Cyril a Metod\xECj" }, { 28, 9, "V\xE1" "clav" }, { 7, 12, ambroz },
        { 24, 12, "Adam a Eva" }, { 31, 12, "Silvestr" },
    };
    for (const auto& k : known) {
        days = {};
        ASSERT_TRUE(file.Tick(days, k.day, k.month));
        EXPECT_EQ(days.todayName, k.name) << k.day << "." << k.month << ".";
    }
}

TEST(ShippedList, IsUtf8WithAByteOrderMarkAndCrLfInCalendarOrder)
{
    // Notepad shows it right on any Windows, whatever its ANSI code page.
    const std::string bytes = testsupport::ReadWholeFile(ShippedListPath());
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    char buffer[100];

    const int daysIn[12] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    std::size_t at = 3;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= daysIn[month - 1]; ++day) {
            std::size_t end = bytes.find("\r\n", at);
            ASSERT_NE(end, std::string::npos) << "the list ends before " << day << "." << month << ".";
            std::string line = bytes.substr(at, end - at);
            char date[8];
            std::snprintf(date, sizeof date, "%02d.%02d.", day, month);
            EXPECT_EQ(line.substr(0, 7), std::string(date) + ";") << line;
            EXPECT_LE(line.size(), 99u) << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << line;
            EXPECT_EQ(line.find('\r'), std::string::npos) << line;
            EXPECT_EQ(line.find(';', 7), std::string::npos) << line;
            EXPECT_NE(line.back(), ' ') << line;
            const std::string name = line.substr(7);
            bool ascii = std::all_of(name.begin(), name.end(), [](unsigned char c) { return c < 0x80; });
            EXPECT_TRUE(ascii || ConvertUtf8Name(name.c_str(), buffer)) << "not UTF-8 of Czech letters: " << line;
            at = end + 2;
        }
    }
    EXPECT_EQ(at, bytes.size()) << "lines after 31.12.";
}

}  // namespace
