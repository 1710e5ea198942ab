// The tick's texts are built without snprintf; they must come out exactly as
// snprintf and atoi would have them.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "common/textput.h"

namespace {

std::string Put(long value, int width, char pad, size_t size = 32)
{
    char buffer[32];
    char* p = buffer;
    PutNumber(p, TextLimit(buffer, size), value, width, pad);
    TextEnd(p);
    return buffer;
}

std::string Printf(long value, int width, char pad, size_t size = 32)
{
    char buffer[32];
    std::snprintf(buffer, size, pad == '0' ? "%0*ld" : "%*ld", width, value);
    return buffer;
}

TEST(TextPut, NumbersComeOutAsSnprintfWritesThem)
{
    const long values[] = { 0, 1, 7, 9, 10, 59, 99, 100, 2026, 30827, -1, -5, -10, -2026,
                            INT_MAX, INT_MIN, LONG_MAX, LONG_MIN };
    for (long value : values)
        for (int width : { 0, 1, 2, 3, 6 })
            for (char pad : { ' ', '0' })
                for (size_t size : { 32u, 4u, 2u, 1u })
                    EXPECT_EQ(Put(value, width, pad, size), Printf(value, width, pad, size))
                        << value << " width " << width << " pad '" << pad << "' size " << size;
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
    PutChar(p, end, '!');
    TextEnd(p);
    EXPECT_STREQ(buffer, "  * Sob");
}

TEST(TextPut, ReadNumberReadsAsAtoiDoes)
{
    const char* texts[] = { "", "0", "07", "08", "09", "23", " 12", "\t+5", "-3", "12:34", "5x", "x5",
                            "--1", "+-1", " - 1", "2147483647", "-2147483648", "0000000000042" };
    for (const char* text : texts)
        EXPECT_EQ(ReadNumber(text), std::atoi(text)) << '"' << text << '"';
    // Beyond int's range atoi is undefined; the reading holds at the ends.
    EXPECT_EQ(ReadNumber("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadNumber("-99999999999999999999"), INT_MIN);
}

}  // namespace
