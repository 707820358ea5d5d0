// The tax-group letter table, the letter look-up and the tax-cell normalisation while typing.
#include "TaxLetters.h"

#include <gtest/gtest.h>

TEST(TaxLetters, TableInIndexOrderWithWindows1251Bytes)
{
    EXPECT_EQ(TaxLetters::letters(), QStringList({"А", "Г", "Д", "Ђ", "Е", "Ж", "И", "Ј", "К"}));
    const uint8_t bytes[] = {0xC0, 0xC3, 0xC4, 0x80, 0xC5, 0xC6, 0xC8, 0xA3, 0xCA};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(TaxLetters::letterByte(i), bytes[i]) << i;
    EXPECT_EQ(TaxLetters::letter(-1), "");
    EXPECT_EQ(TaxLetters::letter(9), "");
    EXPECT_EQ(TaxLetters::letterByte(9), 0);
}

TEST(TaxLetters, LookUpMatchesWholeTextsOnly)
{
    EXPECT_EQ(TaxLetters::TaxLetterIndex("А"), 0);
    EXPECT_EQ(TaxLetters::TaxLetterIndex("Ђ"), 3);
    EXPECT_EQ(TaxLetters::TaxLetterIndex("Ј"), 7);
    EXPECT_EQ(TaxLetters::TaxLetterIndex("К"), 8);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(TaxLetters::TaxLetterIndex(TaxLetters::letter(i)), i);
    // No match: empty, two letters, lower case, Latin look-alikes, other Cyrillic letters.
    for (const char *text : {"", "АА", "А ", "а", "A", "K", "J", "Б", "0"})
        EXPECT_EQ(TaxLetters::TaxLetterIndex(QString::fromUtf8(text)), -1) << text;
}

TEST(TaxLetters, CellNormalisationTable)
{
    const std::pair<const char *, const char *> cases[] = {
        // digits 0..8 give the letter of that index; 9 is no index
        {"0", "А"},
        {"3", "Ђ"},
        {"4", "Е"},
        {"5", "Ж"},
        {"8", "К"},
        {"9", ""},
        // lower case to capitals, including ђ and ј
        {"а", "А"},
        {"г", "Г"},
        {"д", "Д"},
        {"е", "Е"},
        {"ж", "Ж"},
        {"и", "И"},
        {"к", "К"},
        {"ђ", "Ђ"},
        {"ј", "Ј"},
        // capitals stay
        {"Г", "Г"},
        {"Ј", "Ј"},
        // anything else empties the cell
        {"", ""},
        {"a", ""},
        {"abc", ""},
        {"Б", ""},
        {"В", ""},
        {"З", ""},
        {"б", ""},
        {".", ""},
        {" ", ""},
        // only the first character counts
        {"Гx", "Г"},
        {"4abc", "Е"},
        {"xГ", ""},
    };
    for (auto [typed, cell] : cases)
        EXPECT_EQ(TaxLetters::normaliseCell(QString::fromUtf8(typed)), QString::fromUtf8(cell)) << typed;
}
