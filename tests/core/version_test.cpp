// Which copy of the program runs on when two versions meet.
#include <gtest/gtest.h>

#include "app/version.h"

TEST(Version, FieldsCompareAsNumbersLeftToRight)
{
    EXPECT_GT(CompareVersions("1.0.10.0", "1.0.9.0"), 0) << "compared as text";
    EXPECT_LT(CompareVersions("1.0.8.0", "1.1.0.0"), 0) << "a later field outweighed an earlier one";
    EXPECT_EQ(CompareVersions("1.0.8", "1.0.8.0"), 0) << "a missing field is not 0";
    EXPECT_LT(CompareVersions("x", "0.0.0.1"), 0) << "a field without digits is not 0";
}
