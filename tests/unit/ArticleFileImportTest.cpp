// Reading an article file into rows: the row a line goes to, the encoding and separator the file
// was written with, and what is listed for the technician before the table changes.
#include "ArticleFileImport.h"
#include "ArticleFileFormat.h"
#include "Cp1251.h"

#include <gtest/gtest.h>

namespace {
using Import = ArticleFileImport;
using Row = ArticleModel::Row;
const QLocale kFullStop = QLocale::c();

Row row(const char *number, const char *name, const char *barcode, const char *dept, const char *price, const char *tax)
{
    return {QString::fromUtf8(number), QString::fromUtf8(name),  QString::fromUtf8(barcode),
            QString::fromUtf8(dept),   QString::fromUtf8(price), QString::fromUtf8(tax)};
}

// Lines in the saved layout, Windows-1251, CR LF.
QByteArray cp1251File(const QList<Row> &rows, QChar separator = u',')
{
    QByteArray out;
    for (const Row &r : rows)
        out += Cp1251::encode(ArticleFileFormat::formatLine(r, separator)) + "\r\n";
    return out;
}

const Row &at(const Import &in, int r)
{
    return in.rows.at(size_t(r - 1));
}
} // namespace

TEST(ArticleFileImport, SavedFileFillsEveryRowAsWritten)
{
    QList<Row> saved;
    for (int r = 1; r <= ArticleModel::kArticles; ++r)
        saved << ArticleModel::startupRow(r, kFullStop);
    saved[1] = row("2", "Хлеб бели", "8600000000012", "3", "45.50", "Ђ");
    saved[59999] = row("60000", "Последњи", "", "10", "9999999.99", "К");
    const Import in = Import::read(cp1251File(saved), kFullStop);
    EXPECT_EQ(in.encoding, Import::Encoding::Windows1251);
    EXPECT_EQ(in.separator, QChar(u','));
    EXPECT_EQ(in.articles, ArticleModel::kArticles);
    EXPECT_FALSE(in.needsConfirmation()) << in.question("a.csv").toStdString();
    for (int r : {1, 2, 3000, 3001, 60000})
        EXPECT_EQ(at(in, r), saved[r - 1]) << r;
}

TEST(ArticleFileImport, NumberFieldChoosesTheRowAndTheRestStartAfresh)
{
    const QByteArray file =
        cp1251File({row("100", "сто", "", "2", "1.00", "Г"), row("200", "двеста", "", "3", "2.00", "Д"),
                    row("007", "седам", "", "1", "0.70", "А")});
    const Import in = Import::read(file, kFullStop);
    EXPECT_EQ(in.articles, 3);
    EXPECT_EQ(at(in, 100), row("100", "сто", "", "2", "1.00", "Г"));
    EXPECT_EQ(at(in, 200), row("200", "двеста", "", "3", "2.00", "Д"));
    // The number column always holds the row's own number, whatever the field looked like.
    EXPECT_EQ(at(in, 7), row("7", "седам", "", "1", "0.70", "А"));
    for (int r : {1, 2, 99, 101, 60000})
        EXPECT_EQ(at(in, r), ArticleModel::startupRow(r, kFullStop)) << r;
    EXPECT_FALSE(in.needsConfirmation());
}

TEST(ArticleFileImport, LinesThatAreNoArticleAreSkippedAndListed)
{
    const QByteArray file = Cp1251::encode(QStringLiteral("Br;\"Naziv\";\"Barkod\";Od;Cena;\"St\"\r\n" // a heading
                                                          "1;\"a\";\"\";1;1.00;\"А\"\r\n"
                                                          "\r\n" // blank lines hold nothing and are not listed
                                                          "   \r\n"
                                                          ";\"no number\";\"\";1;1.00;\"А\"\r\n" // an empty number
                                                          "0;\"zero\";\"\";1;1.00;\"А\"\r\n"     // no article 0
                                                          "60001;\"past\";\"\";1;1.00;\"А\"\r\n" // nor past 60000
                                                          "1.5;\"x\";\"\";1;1.00;\"А\"\r\n"
                                                          "2;\"b\";\"\";1;2.00;\"Г\"")); // no line end needed
    const Import in = Import::read(file, kFullStop);
    EXPECT_EQ(in.separator, QChar(u';'));
    EXPECT_EQ(in.articles, 2);
    EXPECT_EQ(in.notArticles.count, 5);
    EXPECT_EQ(in.notArticles.first, QList<int>({1, 5, 6, 7, 8}));
    EXPECT_EQ(at(in, 1), row("1", "a", "", "1", "1.00", "А"));
    EXPECT_EQ(at(in, 2), row("2", "b", "", "1", "2.00", "Г"));
    EXPECT_EQ(at(in, 3), ArticleModel::startupRow(3, kFullStop));
    EXPECT_TRUE(in.needsConfirmation());
    const QString q = in.question("export.csv");
    EXPECT_TRUE(q.contains(QStringLiteral(": 5 (ред 1, 5, 6, 7, 8)"))) << q.toStdString();
    EXPECT_TRUE(q.startsWith(QStringLiteral("Фајл „export.csv“ (Windows-1251, раздвојник „;“), артикала у фајлу: 2.")))
        << q.toStdString();
}

TEST(ArticleFileImport, SeparatorIsReadFromTheFileElseTheLocaleRule)
{
    // Written where the list separator is ';' and the decimal separator '.', read where the rule gives ','.
    Import in = Import::read("5;\"a\";\"1\";2;3.50;\"Д\"\r\n", kFullStop);
    EXPECT_EQ(in.separator, QChar(u';'));
    EXPECT_EQ(at(in, 5), row("5", "a", "1", "2", "3.50", "Д"));
    // A comma file read under a comma-decimal locale (whose rule gives ';').
    in = Import::read("5,\"a\",\"1\",2,3.50,\"Д\"\r\n", QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(in.separator, QChar(u','));
    EXPECT_EQ(at(in, 5), row("5", "a", "1", "2", "3.50", "Д"));
    // A tab, as spreadsheets export; the heading before it does not decide.
    in = Import::read("Br\tNaziv\r\n9\t\"x\"\t\"\"\t1\t1.00\t\"К\"\r\n", kFullStop);
    EXPECT_EQ(in.separator, QChar(u'\t'));
    EXPECT_EQ(at(in, 9), row("9", "x", "", "1", "1.00", "К"));
    EXPECT_TRUE(in.question("t.csv").contains(QStringLiteral("раздвојник „табулатор“")));
    // No line begins as a saved line: the locale's rule.
    in = Import::read("heading only\r\n", QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(in.separator, QChar(u';'));
    EXPECT_EQ(in.articles, 0);
}

TEST(ArticleFileImport, Utf8IsRecognisedWithAndWithoutByteOrderMark)
{
    const QString line = QStringLiteral("3,\"Ђурђевак шљива\",\"\",1,1.00,\"Ђ\"\r\n");
    Import in = Import::read(line.toUtf8(), kFullStop);
    EXPECT_EQ(in.encoding, Import::Encoding::Utf8);
    EXPECT_EQ(at(in, 3)[ArticleModel::Name], QStringLiteral("Ђурђевак шљива"));
    EXPECT_EQ(at(in, 3)[ArticleModel::Tax], QStringLiteral("Ђ"));
    // The mark is no part of the first line, which is therefore an article.
    in = Import::read("\xEF\xBB\xBF" + line.toUtf8(), kFullStop);
    EXPECT_EQ(in.encoding, Import::Encoding::Utf8);
    EXPECT_EQ(in.articles, 1);
    EXPECT_EQ(in.notArticles.count, 0);
    EXPECT_TRUE(in.question("u.csv").contains(QStringLiteral("UTF-8")));
    // The same text in Windows-1251 stays Windows-1251, and so does a file with one stray byte.
    in = Import::read(Cp1251::encode(line), kFullStop);
    EXPECT_EQ(in.encoding, Import::Encoding::Windows1251);
    EXPECT_EQ(at(in, 3)[ArticleModel::Name], QStringLiteral("Ђурђевак шљива"));
    in = Import::read(line.toUtf8() + "4,\"\xC0\",\"\",1,1.00,\"\xC0\"\r\n", kFullStop);
    EXPECT_EQ(in.encoding, Import::Encoding::Windows1251);
    EXPECT_EQ(at(in, 4)[ArticleModel::Name], QStringLiteral("А"));
    // Plain ASCII reads the same either way.
    EXPECT_EQ(Import::read("1,\"a\",\"\",1,1.00,\"x\"", kFullStop).encoding, Import::Encoding::Windows1251);
}

TEST(ArticleFileImport, MisfitsAndRepeatsAreListedAndTheLaterLineKept)
{
    const QByteArray file = "1,\"a\",\"\",1,1.00,\"А\"\r\n"
                            "2,\"has \",\" inside\",\"\",1,1.00,\"А\"\r\n" // quote-separator-quote in a name
                            "3,\"short\"\r\n"                              // fields missing
                            "1,\"again\",\"\",2,2.00,\"Г\"\r\n"
                            "4,\"ok\",\"\",1,1.00,\"Д\"\r\n";
    const Import in = Import::read(file, kFullStop);
    EXPECT_EQ(in.misfits.first, QList<int>({2, 3}));
    EXPECT_EQ(in.repeated.first, QList<int>({4}));
    EXPECT_EQ(in.articles, 4);
    EXPECT_EQ(at(in, 1), row("1", "again", "", "2", "2.00", "Г"));
    // A misfit is loaded as the field search finds it; the technician has been told which line.
    EXPECT_EQ(at(in, 2)[ArticleModel::Name], QStringLiteral("has "));
    EXPECT_EQ(at(in, 4), row("4", "ok", "", "1", "1.00", "Д"));
    const QString q = in.question("m.csv");
    EXPECT_TRUE(q.contains(QStringLiteral("распореду фајла артикала, учитавају се како гласе: 2 (ред 2, 3)")))
        << q.toStdString();
    EXPECT_TRUE(q.contains(QStringLiteral("важи каснији ред: 1 (ред 4)"))) << q.toStdString();
}

TEST(ArticleFileImport, FieldsLongerThanTheRecordAreListedByArticle)
{
    EXPECT_EQ(Import::nameCapacity(), 32);
    EXPECT_EQ(Import::barcodeCapacity(), 14);
    const QByteArray name32(32, 'n'), name33(33, 'n');
    const QByteArray file = "1,\"" + name32 + "\",\"12345678901234\",1,1.00,\"А\"\r\n" + // exactly what fits
                            "2,\"" + name33 + "\",\"\",1,1.00,\"А\"\r\n" +
                            "3,\"x\",\"123456789012345\",1,1.00,\"А\"\r\n" + "9,\"" + QByteArray(5000, 'N') +
                            "\",\"12345678901234567890\",1,1.00,\"А\"\r\n";
    const Import in = Import::read(file, kFullStop);
    EXPECT_EQ(in.tooLong.first, QList<int>({2, 3, 9}));
    // The cell keeps the whole text; only the record is short.
    EXPECT_EQ(at(in, 9)[ArticleModel::Name].size(), 5000);
    EXPECT_TRUE(in.needsConfirmation());
    EXPECT_TRUE(in.question("l.csv").contains(
        QStringLiteral("(назив до 32, бар-код до 14 знакова), при уносу у касу биће скраћени: 3 (артикал 2, 3, 9)")));
}

TEST(ArticleFileImport, LongListingsShowTheFirstTenAndSayThereAreMore)
{
    QByteArray file;
    for (int i = 0; i < 25; ++i)
        file += "heading " + QByteArray::number(i) + "\r\n";
    file += "1,\"a\",\"\",1,1.00,\"А\"\r\n";
    const Import in = Import::read(file, kFullStop);
    EXPECT_EQ(in.notArticles.count, 25);
    EXPECT_EQ(in.notArticles.text(), QStringLiteral("1, 2, 3, 4, 5, 6, 7, 8, 9, 10, …"));
    EXPECT_TRUE(in.question("h.csv").contains(QStringLiteral(": 25 (ред 1, 2,")));
}
