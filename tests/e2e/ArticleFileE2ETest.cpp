// A loaded article file written to the simulated printer over loopback TCP: each line's article
// number decides the article it becomes on the device.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "Cp1251.h"
#include "SimArticles.h"
#include "SimHarness.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QByteArray nameOf(const QByteArray &record)
{
    const QByteArray field = record.mid(2, 33);
    return field.left(field.indexOf('\0'));
}
} // namespace

TEST(ArticleFileE2E, LinesForArticles100And200AreWrittenAsArticles100And200)
{
    QLocale::setDefault(QLocale::c());
    SimHarness h(QStringLiteral("127.0.0.151"));
    ASSERT_TRUE(h.connected);
    QTemporaryDir dir;
    const QString path = dir.filePath("export.csv");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Br;\"Naziv\";\"Barkod\";Od;Cena;\"St\"\r\n" +
                Cp1251::encode(QStringLiteral("100;\"Хлеб\";\"860\";2;45.50;\"Ђ\"\r\n"
                                              "200;\"Млеко\";\"\";3;99.00;\"Г\"\r\n")));
    }
    auto &articles = h.window->articlesSection();
    articles.setFileChooser([&](QFileDialog &) { return path; });
    articles.btnAFLoad->click();
    ASSERT_EQ(h.messages.size(), 1); // the heading line was named and the load confirmed
    EXPECT_TRUE(h.messages[0].contains(QStringLiteral("(ред 1)"))) << h.messages[0].toStdString();
    ArticleModel &m = h.window->articles();
    EXPECT_EQ(m.cell(ArticleModel::Number, 100), "100");
    EXPECT_EQ(m.cell(ArticleModel::Number, 1), "1");
    h.messages.clear();

    SimArticles &device = *h.device.module<SimArticles>();
    articles.btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return device.articleWrites() == ArticleModel::kArticles; }, 120000))
        << device.articleWrites();
    EXPECT_EQ(nameOf(device.article(100)), Cp1251::encode(QStringLiteral("Хлеб")));
    EXPECT_EQ(nameOf(device.article(200)), Cp1251::encode(QStringLiteral("Млеко")));
    EXPECT_EQ(device.article(100).at(35), char(1)); // department 2, stored minus one
    // Articles 1 and 2 were not in the file: they went out as fresh rows, not as the file's lines.
    EXPECT_EQ(nameOf(device.article(1)), QByteArray());
    EXPECT_EQ(nameOf(device.article(2)), QByteArray());
}
