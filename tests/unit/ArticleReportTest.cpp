// Record list and page arithmetic of the articles report.
#include "ArticleModel.h"
#include "ArticleReportLayout.h"
#include "ArticleReportRecord.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(ArticleReportRecords, FreshTableGivesNoRecords)
{
    ArticleModel m;
    m.fillStartup(QLocale::c());
    EXPECT_TRUE(ArticleReportRecord::collect(m).isEmpty());
}

TEST(ArticleReportRecords, RowsOneToSixtyOneWithNamesAndCutFields)
{
    ArticleModel m;
    m.fillStartup(QLocale(QLocale::German));
    m.setCell(ArticleModel::Name, 1, QStringLiteral("Хлеб"));
    m.setCell(ArticleModel::Barcode, 1, QStringLiteral("8600123456789"));
    m.setCell(ArticleModel::Price, 1, QStringLiteral("45,90"));
    m.setCell(ArticleModel::Department, 1, QStringLiteral("7"));
    m.setCell(ArticleModel::Tax, 1, QStringLiteral("Ђ"));
    m.setCell(ArticleModel::Name, 5, QString(40, u'N'));
    m.setCell(ArticleModel::Number, 5, QStringLiteral("123456"));
    m.setCell(ArticleModel::Barcode, 5, QStringLiteral("123456789012345678"));
    m.setCell(ArticleModel::Price, 5, QStringLiteral("1234567,89"));
    m.setCell(ArticleModel::Tax, 5, QStringLiteral("ЖЖ"));
    m.setCell(ArticleModel::Name, 61, QStringLiteral("last"));
    m.setCell(ArticleModel::Name, 62, QStringLiteral("never listed"));
    m.setCell(ArticleModel::Name, 60000, QStringLiteral("never listed"));

    const auto list = ArticleReportRecord::collect(m);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].sifra, "1");
    EXPECT_EQ(list[0].naziv, QStringLiteral("Хлеб"));
    EXPECT_EQ(list[0].barkod, "8600123456789");
    EXPECT_EQ(list[0].cena, "45,90"); // the table's text, with the locale's separator
    EXPECT_EQ(list[0].stopa, QStringLiteral("Ђ"));
    EXPECT_EQ(list[1].sifra, "1234");
    EXPECT_EQ(list[1].naziv, QString(36, u'N'));
    EXPECT_EQ(list[1].barkod, "12345678901234");
    EXPECT_EQ(list[1].cena, "1234567,8");
    EXPECT_EQ(list[1].stopa, QStringLiteral("Ж"));
    EXPECT_EQ(list[2].sifra, "61");
    EXPECT_EQ(list[2].naziv, "last");
    EXPECT_EQ(list[2].cena, "0,00");
}

TEST(ArticleReportLayout, PagesOfLetterPaper)
{
    // 259.4 mm between the margins: title 9.3, header 8.5, footer 10.6 leave 231.0 mm = 55 lines of
    // 4.2 mm on the first page; later pages have no title: 240.3 mm = 57 lines.
    EXPECT_EQ(ArticleReportLayout::linesOnPage(0), 55);
    EXPECT_EQ(ArticleReportLayout::linesOnPage(1), 57);
    EXPECT_EQ(ArticleReportLayout::pageCount(0), 1);
    EXPECT_EQ(ArticleReportLayout::pageCount(55), 1);
    EXPECT_EQ(ArticleReportLayout::pageCount(56), 2);
    EXPECT_EQ(ArticleReportLayout::pageCount(61), 2);
    EXPECT_EQ(ArticleReportLayout::pageCount(55 + 57), 2);
    EXPECT_EQ(ArticleReportLayout::pageCount(55 + 58), 3);
}
