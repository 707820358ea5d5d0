// The integer check used by the network-setting and parameter boxes.
#include "IntegerField.h"

#include <gtest/gtest.h>

TEST(IntegerField, AcceptsDecimalWithBlanksAndSign)
{
    EXPECT_EQ(CheckedInteger("0", 0, 255), 0);
    EXPECT_EQ(CheckedInteger("255", 0, 255), 255);
    EXPECT_EQ(CheckedInteger("   42", 0, 255), 42);
    EXPECT_EQ(CheckedInteger("\t7", 0, 255), 7);
    EXPECT_EQ(CheckedInteger("+12", 0, 255), 12);
    EXPECT_EQ(CheckedInteger("-0", 0, 255), 0);
    EXPECT_EQ(CheckedInteger("007", 0, 255), 7);
    EXPECT_EQ(CheckedInteger("65535", 0, 65535), 65535);
}

TEST(IntegerField, RejectsEmptyJunkAndOutOfRange)
{
    for (const char *bad : {"", "   ", "+", "-", "1 ", "12a", "a1", "0x10", "1.5", "1,5", " - 1", "١٢"})
        EXPECT_FALSE(CheckedInteger(QString::fromUtf8(bad), 0, 65535).has_value()) << bad;
    EXPECT_FALSE(CheckedInteger("256", 0, 255).has_value());
    EXPECT_FALSE(CheckedInteger("-1", 0, 255).has_value());
    EXPECT_FALSE(CheckedInteger("65536", 0, 65535).has_value());
    // Far too many digits must not wrap around into the range.
    EXPECT_FALSE(CheckedInteger("18446744073709551616", 0, 65535).has_value());
    EXPECT_FALSE(CheckedInteger("4294967296", 0, 255).has_value());
    EXPECT_FALSE(CheckedInteger("-99999999999999999999", -5, 5).has_value());
}
