// Loading an article file on the window: the question before the table changes, declining it,
// and the files that are refused outright.
#include "CatalogueFixture.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
class ArticleFileLoad : public CatalogueTest {
protected:
    ArticlesSection &s() { return w->articlesSection(); }
    ArticleModel &m() { return w->articles(); }
    QStringList cells(int r)
    {
        QStringList out;
        for (int c = 0; c < ArticleModel::kColumns; ++c)
            out << m().cell(c, r);
        return out;
    }
    QString file(const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    // Every dialog is recorded and answered with `answer`.
    void answerWith(int answer)
    {
        w->dialog().setResponder([this, answer](TDialog &d) {
            messages.append(d.Naslov->text() + QStringLiteral("|") + d.tekst->toPlainText());
            return answer;
        });
    }
    QTemporaryDir dir;
};

// A spreadsheet export: a heading, semicolons, UTF-8 with its mark.
const QByteArray kExport = "\xEF\xBB\xBF"
                           "Бр;\"Назив\";\"Бар-код\";Од.;Цена;\"П. Ст.\"\r\n"
                           "100;\"Хлеб\";\"860\";2;45.50;\"Ђ\"\r\n"
                           "200;\"Млеко\";\"\";3;99.00;\"Г\"\r\n";
} // namespace

TEST_F(ArticleFileLoad, DecliningTheQuestionKeepsTheTable)
{
    m().setCell(ArticleModel::Name, 1, QStringLiteral("задржи"));
    m().setCell(ArticleModel::Name, 100, QStringLiteral("старо"));
    const QStringList before1 = cells(1), before100 = cells(100);
    const QString path = file("export.csv", kExport);
    answerWith(0);
    s().setFileChooser([&](QFileDialog &) { return path; });
    QTest::mouseClick(s().btnAFLoad, Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0],
              QStringLiteral("Пажња!!! |Фајл „export.csv“ (UTF-8, раздвојник „;“), артикала у фајлу: 2.\n"
                             "Редови који нису артикли (заглавље, празан или погрешан број), прескачу се: 1 "
                             "(ред 1).\nДа ли да се фајл учита у табелу артикала?"));
    EXPECT_EQ(cells(1), before1);
    EXPECT_EQ(cells(100), before100);
    // The form goes back to row 1, as after a cancelled open dialog.
    EXPECT_EQ(s().sgArticles->currentIndex(), m().index(0, ArticleModel::Name));

    // Saying yes loads the two articles into their own rows, the heading skipped.
    messages.clear();
    answerWith(1);
    QTest::mouseClick(s().btnAFLoad, Qt::LeftButton);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(cells(100), QStringList({"100", "Хлеб", "860", "2", "45.50", "Ђ"}));
    EXPECT_EQ(cells(200), QStringList({"200", "Млеко", "", "3", "99.00", "Г"}));
    EXPECT_EQ(cells(1), QStringList({"1", "", "", "1", "0.00", "А"}));
}

TEST_F(ArticleFileLoad, FilesWithoutArticlesAreRefusedAndChangeNothing)
{
    m().setCell(ArticleModel::Name, 1, QStringLiteral("задржи"));
    for (const QByteArray &bytes :
         {QByteArray(), QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), QByteArray("Naziv;Cena\r\nHleb;45\r\n")}) {
        messages.clear();
        const QString path = file("wrong.csv", bytes);
        EXPECT_FALSE(s().loadArticlesFrom(path));
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Грешка !!! |У фајлу „")) &&
                    messages[0].endsWith(QStringLiteral("“ нема ниједног реда са бројем артикла (1..60000). Табела "
                                                        "није промењена.")))
            << messages[0].toStdString();
        EXPECT_EQ(m().cell(ArticleModel::Name, 1), QStringLiteral("задржи"));
    }
}

TEST_F(ArticleFileLoad, AFileFarTooLargeIsRefusedBeforeItIsRead)
{
    const QString path = file("disk.img", "1,\"a\",\"\",1,1.00,\"А\"\r\n");
    QFile f(path);
    ASSERT_TRUE(f.resize(65LL * 1024 * 1024)); // sparse: nothing is really written
    m().setCell(ArticleModel::Name, 1, QStringLiteral("задржи"));
    EXPECT_FALSE(s().loadArticlesFrom(path));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("није учитан: већи је од 64 MB"))) << messages[0].toStdString();
    EXPECT_EQ(m().cell(ArticleModel::Name, 1), QStringLiteral("задржи"));
}

TEST_F(ArticleFileLoad, SavedFileLoadsBackWithoutAQuestion)
{
    m().setCell(ArticleModel::Name, 3, QStringLiteral("Сок, 1л \"Вишња\""));
    m().setCell(ArticleModel::Barcode, 59999, QStringLiteral("8600000000001"));
    const QString path = dir.filePath("saved.csv");
    ASSERT_TRUE(s().saveArticlesTo(path));
    m().fillStartup();
    messages.clear();
    ASSERT_TRUE(s().loadArticlesFrom(path));
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
    EXPECT_EQ(m().cell(ArticleModel::Name, 3), QStringLiteral("Сок, 1л \"Вишња\""));
    EXPECT_EQ(m().cell(ArticleModel::Barcode, 59999), QStringLiteral("8600000000001"));
    EXPECT_EQ(cells(60000), QStringList({"60000", "", "", "1", "0.00", "А"}));
}
