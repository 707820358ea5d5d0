// Exact decimal conversion of rates and prices, and the price check of the article form.
#include "Decimal.h"
#include "ArticlePrice.h"

#include <gtest/gtest.h>

namespace {
const QLocale kPoint = QLocale::c();
const QLocale kComma = QLocale(QLocale::German, QLocale::Germany);
} // namespace

TEST(Decimal, ExactHundredthsWhereFloatingPointLosesOne)
{
    // 8.53 * 100 and 0.29 * 100 fall just below the whole number in binary floating point.
    EXPECT_EQ(Decimal::toHundredths("8.53", kPoint), 853);
    EXPECT_EQ(Decimal::toHundredths("0.29", kPoint), 29);
    EXPECT_EQ(Decimal::toHundredths("1.15", kPoint), 115);
    EXPECT_EQ(Decimal::toHundredths("4.35", kPoint), 435);
    EXPECT_EQ(Decimal::toHundredths("99.99", kPoint), 9999);
    EXPECT_EQ(Decimal::toHundredths("8,53", kComma), 853);
    EXPECT_EQ(Decimal::toHundredths("9999999.99", kPoint), 999999999);
}

TEST(Decimal, Forms)
{
    EXPECT_EQ(Decimal::toHundredths("18", kPoint), 1800);
    EXPECT_EQ(Decimal::toHundredths(" 18 ", kPoint), 1800);
    EXPECT_EQ(Decimal::toHundredths("+8.5", kPoint), 850);
    EXPECT_EQ(Decimal::toHundredths(".5", kPoint), 50);
    EXPECT_EQ(Decimal::toHundredths(",5", kComma), 50);
    EXPECT_EQ(Decimal::toHundredths("5.", kPoint), 500);
    EXPECT_EQ(Decimal::toHundredths("-1", kPoint), -100);
    EXPECT_EQ(Decimal::toHundredths("-0", kPoint), 0);
    EXPECT_EQ(Decimal::toHundredths("0.001", kPoint), 0);
    EXPECT_EQ(Decimal::toHundredths("-0.019", kPoint), -1); // truncated toward zero
    EXPECT_EQ(Decimal::toHundredths("12.345", kPoint), 1234);
    EXPECT_EQ(Decimal::toHundredths("1e3", kPoint), 100000);
    EXPECT_EQ(Decimal::toHundredths("2.5E-1", kPoint), 25);
    EXPECT_EQ(Decimal::toHundredths("655.36", kPoint), 65536);
    EXPECT_EQ(Decimal::toHundredths("0007.10", kPoint), 710);
    EXPECT_EQ(Decimal::toHundredths("1e400", kPoint), Decimal::kSaturated);
    EXPECT_EQ(Decimal::toHundredths("-99999999999999999999999", kPoint), -Decimal::kSaturated);
    EXPECT_EQ(Decimal::toHundredths("1e-400", kPoint), 0);
}

TEST(Decimal, TextsThatAreNoNumber)
{
    for (const char *t : {"", " ", "**,**", ".", "-", "+", "1.2.3", "1e", "e5", "abc", "12a", "1 000", "--1"})
        EXPECT_FALSE(Decimal::toHundredths(t, kPoint).has_value()) << t;
    // The other separator is no decimal separator, nor a group separator.
    EXPECT_FALSE(Decimal::toHundredths("8,5", kPoint).has_value());
    EXPECT_FALSE(Decimal::toHundredths("1,000", kPoint).has_value());
    EXPECT_FALSE(Decimal::toHundredths("2.50", kComma).has_value());
}

TEST(Decimal, ShortestFormWithLocaleSeparator)
{
    EXPECT_EQ(Decimal::fromHundredths(1800, kPoint), "18");
    EXPECT_EQ(Decimal::fromHundredths(850, kPoint), "8.5");
    EXPECT_EQ(Decimal::fromHundredths(2050, kPoint), "20.5");
    EXPECT_EQ(Decimal::fromHundredths(0, kPoint), "0");
    EXPECT_EQ(Decimal::fromHundredths(9999, kPoint), "99.99");
    EXPECT_EQ(Decimal::fromHundredths(805, kPoint), "8.05");
    EXPECT_EQ(Decimal::fromHundredths(9999, kComma), "99,99");
    EXPECT_EQ(Decimal::fromHundredths(-150, kPoint), "-1.5");
    for (int v = 0; v < 10000; ++v)
        ASSERT_EQ(Decimal::toHundredths(Decimal::fromHundredths(v, kComma), kComma), v) << v;
}

TEST(ArticlePrice, RefusalsUnderPointLocale)
{
    for (const char *p : {"12.34", "12.3", "12", "1000000", "9999999.99", "0", "0.00", ".5", "1e3"})
        EXPECT_TRUE(ArticlePrice::acceptable(p, kPoint)) << p;
    // no number; hundredths above 999999999; three decimals; negative; a minus sign
    for (const char *p : {"", "abc", "12,34", "10000000", "9999999.999", "12.345", "-1", "-0", "0-", "1e-2"})
        EXPECT_FALSE(ArticlePrice::acceptable(p, kPoint)) << p;
    EXPECT_TRUE(ArticlePrice::acceptable("1.", kPoint));
    // Characters after the first separator are counted as typed, blanks included.
    EXPECT_FALSE(ArticlePrice::acceptable("1.50 ", kPoint));
}

TEST(ArticlePrice, CommaLocaleAndLeadingSeparator)
{
    EXPECT_TRUE(ArticlePrice::acceptable(",5", kComma));
    EXPECT_EQ(ArticlePrice::forGrid(",5", kComma), "0,5");
    EXPECT_EQ(ArticlePrice::forGrid(".5", kPoint), "0.5");
    EXPECT_EQ(ArticlePrice::forGrid("12,34", kComma), "12,34");
    EXPECT_TRUE(ArticlePrice::acceptable("12,34", kComma));
    EXPECT_FALSE(ArticlePrice::acceptable("12.34", kComma));
    EXPECT_FALSE(ArticlePrice::acceptable("12,345", kComma));
    EXPECT_FALSE(ArticlePrice::acceptable("-0", kComma));
}
