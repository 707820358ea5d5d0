// Line layout and field search of the article file, and the bulk Windows-1251 conversion it uses.
#include "ArticleFileFormat.h"
#include "Cp1251.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {
using Fields = ArticleFileFormat::Fields;
const QChar kSemicolon = u';';
const QChar kComma = u',';

Fields fields(const char *a, const char *b, const char *c, const char *d, const char *e, const char *f)
{
    return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c),
            QString::fromUtf8(d), QString::fromUtf8(e), QString::fromUtf8(f)};
}
} // namespace

TEST(ArticleFileFormat, ListSeparatorFollowsDecimalSeparator)
{
    EXPECT_EQ(ArticleFileFormat::listSeparator(QLocale::c()), kComma);
    EXPECT_EQ(ArticleFileFormat::listSeparator(QLocale(QLocale::English, QLocale::UnitedStates)), kComma);
    EXPECT_EQ(ArticleFileFormat::listSeparator(QLocale(QLocale::German, QLocale::Germany)), kSemicolon);
    EXPECT_EQ(ArticleFileFormat::listSeparator(QLocale(QLocale::Serbian, QLocale::Serbia)), kSemicolon);
}

TEST(ArticleFileFormat, LineLayoutQuotesNameBarcodeAndLetterOnly)
{
    EXPECT_EQ(ArticleFileFormat::formatLine(fields("5", "", "", "1", "0.00", "А"), kSemicolon),
              QString::fromUtf8("5;\"\";\"\";1;0.00;\"А\""));
    EXPECT_EQ(ArticleFileFormat::formatLine(fields("12", "Хлеб бели", "8600000000012", "3", "0,50", "Ђ"), kSemicolon),
              QString::fromUtf8("12;\"Хлеб бели\";\"8600000000012\";3;0,50;\"Ђ\""));
    // Texts are written as they stand: blanks kept, quotes and separators not escaped.
    EXPECT_EQ(ArticleFileFormat::formatLine(fields("1", " a\"b, ", "", "x", "1.5", ""), kComma),
              QString::fromUtf8("1,\" a\"b, \",\"\",x,1.5,\"\""));
}

TEST(ArticleFileFormat, SavedLinesReadBackUnderBothSeparators)
{
    const Fields rows[] = {
        fields("1", "", "", "1", "0.00", "А"),
        fields("60000", "Млеко 2,8% 1л", "8606000000001", "10", "9999999.99", "К"),
        fields("7", "x", "1", "2", "0", "Ј"),
        // a name longer than any fixed line buffer is read in full
        fields("8", std::string(300, 'N').c_str(), "", "1", "1.00", "Г"),
    };
    for (QChar sep : {kSemicolon, kComma}) {
        for (const Fields &f : rows) {
            if (sep == kComma && f[1].contains(u','))
                continue; // a separator inside a name shifts the fields; see the next test
            EXPECT_EQ(ArticleFileFormat::parseLine(ArticleFileFormat::formatLine(f, sep), sep), f)
                << f[0].toStdString();
        }
    }
}

TEST(ArticleFileFormat, FieldSearchEdgeCases)
{
    auto parse = [](const char *line, QChar sep = kSemicolon) {
        return ArticleFileFormat::parseLine(QString::fromUtf8(line), sep);
    };
    // Empty line: six empty fields.
    EXPECT_EQ(parse(""), Fields{});
    // An empty letter loads an empty letter cell.
    EXPECT_EQ(parse("7;\"\";\"\";3;1.20;\"\""), fields("7", "", "", "3", "1.20", ""));
    // A line that begins with the separator: no number and no name (both need a number first).
    EXPECT_EQ(parse(";\"name\";\"b\";1;2.00;\"А\""), fields("", "", "b", "1", "2.00", "А"));
    // The price keeps the separator it was written with.
    EXPECT_EQ(parse("3,\"a\",\"\",1,2.50,\"Д\"", kComma), fields("3", "a", "", "1", "2.50", "Д"));
    EXPECT_EQ(parse("3;\"a\";\"\";1;2,50;\"Д\""), fields("3", "a", "", "1", "2,50", "Д"));
    // The last character is dropped whatever it is, and a letter that is no tax letter stays.
    EXPECT_EQ(parse("4;\"a\";\"b\";1;1;\"XYZ!"), fields("4", "a", "b", "1", "1", "XYZ"));
    // A name holding quote-S-quote (here a";"b) ends at it and shifts the fields behind it.
    EXPECT_EQ(parse(ArticleFileFormat::formatLine(fields("5", "a\";\"b", "", "1", "0.00", "А"), kSemicolon).toUtf8()),
              fields("5", "a", "b", "\"\"", "1;0.00", "А"));
    // No separator-quote after the price: the price stays empty and the letter field runs from
    // the second character to the last but one.
    EXPECT_EQ(parse("1;\"x\";\"y\";2;3.00"), fields("1", "x", "y", "2", "", ";\"x\";\"y\";2;3.0"));
    // Nothing that fits: everything empty.
    EXPECT_EQ(parse("garbage"), Fields{});
    // Only a number and the first separator-quote: the separator search behind the failed
    // searches finds the first separator again, so the letter field takes it.
    EXPECT_EQ(parse("9;\""), fields("9", "", "", "", "", ";"));
}

TEST(Cp1251, EveryByteRoundTripsAndAgreesWithQtsEncoder)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Cp1251::decode(all);
    ASSERT_EQ(text.size(), 256);
    for (int b = 0; b < 256; ++b) {
        if (text.at(b) == QChar(0xFFFD))
            continue; // a byte the code page leaves undefined
        EXPECT_EQ(uint8_t(Cp1251::encode(text.mid(b, 1)).at(0)), b) << b;
    }
    const QString mixed = QString::fromUtf8("АБВ abc ђјЉЊ € ");
    QStringEncoder qt("windows-1251");
    EXPECT_EQ(Cp1251::encode(mixed), QByteArray(qt.encode(mixed)));
    // A character outside the code page is one '?', a surrogate pair included.
    EXPECT_EQ(Cp1251::encode(QString::fromUtf8("a😀中b")), QByteArray("a??b"));
    EXPECT_EQ(Cp1251::encode(QString::fromUtf8("А")), QByteArray("\xC0"));
    EXPECT_EQ(Cp1251::encode(QString::fromUtf8("Ђј")), QByteArray("\x80\xBC"));
}
