// The UI text table: exact texts (Latin "j", trailing blanks) and their Windows-1251 form.
#include "UiText.h"
#include "Cp1251.h"

#include <gtest/gtest.h>

TEST(UiText, EntriesAreExactIncludingLatinJAndTrailingBlanks)
{
    EXPECT_EQ(UiText(18), "Грешка !!! ");
    EXPECT_EQ(UiText(17), "Пажња!!! ");
    EXPECT_EQ(UiText(26), "Информација !!!");
    EXPECT_EQ(UiText(53), "Увођење у експлоатациjу : ");
    EXPECT_EQ(UiText(112), "Фискални датум и време: ");
    EXPECT_EQ(UiText(49), UiText(50));
    EXPECT_EQ(UiText(107), "Параметризација фискалне касе");
    // The "j" in these words is the Latin letter, byte 0x6A in Windows-1251, not Cyrillic ј (0xBC).
    for (int entry : {45, 53, 56, 60, 68, 74, 84, 85, 91, 92, 31}) {
        const QByteArray bytes = Cp1251::encode(UiText(entry));
        EXPECT_TRUE(bytes.contains('j')) << entry;
        EXPECT_FALSE(bytes.contains(char(0xBC))) << entry;
    }
}

TEST(UiText, UnusedAndOutOfRangeEntriesAreEmpty)
{
    for (int entry : {0, 12, 16, 19, 34, 35, 37, 41, -1, 115, 1000})
        EXPECT_TRUE(UiText(entry).isEmpty()) << entry;
    int used = 0;
    for (int i = 0; i < kUiTextCount; ++i)
        used += UiText(i).isEmpty() ? 0 : 1;
    EXPECT_EQ(used, 71);
}

TEST(UiText, EveryUsedEntryHasAWindows1251Form)
{
    for (int i = 0; i < kUiTextCount; ++i) {
        const QString t = UiText(i);
        const QByteArray b = Cp1251::encode(t);
        EXPECT_EQ(b.size(), t.size()) << i;
        EXPECT_EQ(Cp1251::decode(b), t) << i;
    }
    EXPECT_EQ(Cp1251::encode(UiText(14)).toHex(), "cef2e2eef0e820efeef0f2");
}
