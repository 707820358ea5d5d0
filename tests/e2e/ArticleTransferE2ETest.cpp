// The whole article table and the cashiers through the simulated printer over loopback TCP.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "Decimal.h"
#include "FaultInjector.h"
#include "SimArticles.h"
#include "SimHarness.h"
#include "TaxLetters.h"
#include "ToolText.h"
#include "UiText.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

namespace {
constexpr int kArticles = ArticleModel::kArticles;

// A second window that talks to the harness's printer (it takes over the one connection).
struct FreshWindow {
    explicit FreshWindow(SimHarness &h)
    {
        window.FormActivate();
        window.dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
            return 1;
        });
        connected = tcp.connectTo(h.server->address());
        window.link().setTransport(&tcp);
    }
    TfMain window;
    TcpTransport tcp;
    QStringList messages;
    bool connected = false;
};

QString label(TfMain &w, const char *name)
{
    return w.findChild<QLabel *>(name)->text();
}

// Rows in the form a read gives back: names with Cyrillic letters, barcodes, all departments,
// prices with and without decimals, every tax letter.
void fillTable(ArticleModel &m)
{
    for (int r = 1; r <= kArticles; ++r) {
        QString name;
        if (r % 7 == 0)
            name = QStringLiteral("Артикал ђжшћч Ј %1").arg(r);
        else if (r % 3 == 0)
            name = QStringLiteral("Item %1").arg(r);
        m.setCell(ArticleModel::Name, r, name);
        m.setCell(ArticleModel::Barcode, r, r % 5 == 0 ? QStringLiteral("86%1").arg(r, 11, 10, QChar('0')) : QString());
        m.setCell(ArticleModel::Department, r, QString::number(r % 10 + 1));
        m.setCell(ArticleModel::Price, r, Decimal::fromHundredths(int64_t(r) * 7919 % 999999999));
        m.setCell(ArticleModel::Tax, r, TaxLetters::letter(r % 9));
    }
}
} // namespace

TEST(ArticleTransferE2E, WholeTableWrittenAndReadBackIntoAFreshWindow)
{
    QLocale::setDefault(QLocale::c());
    SimHarness h(QStringLiteral("127.0.0.60"));
    ASSERT_TRUE(h.connected);
    ArticleModel &source = h.window->articles();
    fillTable(source);
    source.setCell(ArticleModel::Name, 2, QString(40, QChar(u'Щ'))); // longer than the record allows

    auto &articles = h.window->articlesSection();
    articles.btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return label(*h.window, "lblBrojac") == "60001"; }, 120000))
        << label(*h.window, "lblBrojac").toStdString();
    SimArticles &device = *h.device.module<SimArticles>();
    EXPECT_EQ(device.articleWrites(), kArticles);
    EXPECT_EQ(h.messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesWriteCompleted(kArticles)});

    FreshWindow fresh(h);
    ASSERT_TRUE(fresh.connected);
    fresh.window.articlesSection().btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return label(fresh.window, "lblBrojac") == "60000"; }, 120000))
        << label(fresh.window, "lblBrojac").toStdString();
    EXPECT_EQ(label(fresh.window, "lblArt"), "60000");
    EXPECT_EQ(fresh.messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(kArticles)});

    // The long name came back cut to 32 characters; every other row is equal cell for cell.
    ArticleModel &copy = fresh.window.articles();
    EXPECT_EQ(copy.cell(ArticleModel::Name, 2), QString(32, QChar(u'Щ')));
    source.setCell(ArticleModel::Name, 2, QString(32, QChar(u'Щ')));
    int differing = 0;
    for (int r = 1; r <= kArticles; ++r)
        for (int c = 0; c < ArticleModel::kColumns; ++c)
            if (copy.cell(c, r) != source.cell(c, r) && ++differing <= 5)
                ADD_FAILURE() << "row " << r << " column " << c << ": " << copy.cell(c, r).toStdString()
                              << " != " << source.cell(c, r).toStdString();
    EXPECT_EQ(differing, 0);
    // The read ends with row 1 current and the form loaded from it.
    auto &form = fresh.window.articlesSection();
    EXPECT_EQ(form.sgArticles->currentIndex(), copy.index(0, ArticleModel::Name));
    EXPECT_EQ(form.edtArticleName->text(), source.cell(ArticleModel::Name, 1));
    EXPECT_EQ(form.edtAPrice->text(), source.cell(ArticleModel::Price, 1));
}

TEST(ArticleTransferE2E, DeviceThatSkipsNumbers)
{
    QLocale::setDefault(QLocale::c());
    SimHarness h(QStringLiteral("127.0.0.62"));
    ASSERT_TRUE(h.connected);
    SimArticles &device = *h.device.module<SimArticles>();
    device.setArticleStep(7); // the device keeps 1, 8, 15, ... 59996
    h.window->articlesSection().btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return label(*h.window, "lblBrojac") == "60001"; }, 60000));
    EXPECT_EQ(label(*h.window, "lblArt"), "60000");
    EXPECT_EQ(device.articleReads(), (kArticles - 1) / 7 + 2); // every kept article, then the end

    // Writing asks only for the kept numbers: change two rows and write the table back.
    ArticleModel &m = h.window->articles();
    m.setCell(ArticleModel::Name, 8, "kept");
    m.setCell(ArticleModel::Name, 9, "skipped");
    h.window->articlesSection().btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return device.articleWrites() == (kArticles - 1) / 7 + 1; }, 60000));
    ASSERT_TRUE(waitUntil([&] { return label(*h.window, "lblBrojac") == "60001"; }));
    EXPECT_EQ(device.article(8).mid(2, 5), QByteArray("kept\0", 5));
    EXPECT_EQ(device.article(9), SimArticles::blankArticle(9));
    // Both transfers say how many articles they moved: only the kept ones.
    const int kept = (kArticles - 1) / 7 + 1;
    EXPECT_EQ(h.messages, QStringList({UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(kept),
                                       UiText(Txt::TitleInfo) + "|" + ToolText::articlesWriteCompleted(kept)}));
}

TEST(ArticleTransferE2E, CashiersWrittenAndReadBack)
{
    SimHarness h(QStringLiteral("127.0.0.61"));
    ASSERT_TRUE(h.connected);
    auto *grid = h.window->findChild<QTableView *>("sgOperators");
    ASSERT_NE(grid, nullptr);
    for (int i = 0; i < 64; ++i)
        grid->model()->setData(grid->model()->index(i, 1), QStringLiteral("Касир %1 Ђорђе").arg(i + 1));
    SimArticles &device = *h.device.module<SimArticles>();
    h.window->findChild<QPushButton *>("btnOWrite")->click();
    ASSERT_TRUE(waitUntil([&] { return device.cashierWrites() == 64; }));
    EXPECT_TRUE(h.messages.isEmpty()) << h.messages.join("\n").toStdString();

    FreshWindow fresh(h);
    ASSERT_TRUE(fresh.connected);
    auto *copy = fresh.window.findChild<QTableView *>("sgOperators");
    fresh.window.findChild<QPushButton *>("btnORead")->click();
    ASSERT_TRUE(waitUntil([&] { return device.cashierReads() == 64; }));
    ASSERT_TRUE(waitUntil([&] { return copy->model()->index(63, 1).data().toString() != "Operator 64"; }));
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(copy->model()->index(i, 1).data().toString(), QStringLiteral("Касир %1 Ђорђе").arg(i + 1));
    EXPECT_TRUE(fresh.messages.isEmpty());
}

TEST(ArticleTransferE2E, OneOperationAtATimeOverTcp)
{
    QLocale::setDefault(QLocale::c());
    SimHarness h(QStringLiteral("127.0.0.163"));
    ASSERT_TRUE(h.connected);
    SimArticles &device = *h.device.module<SimArticles>();
    auto &articles = h.window->articlesSection();
    auto *tgRead = h.window->findChild<QPushButton *>("btnTGRead");

    articles.btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return device.articleReads() >= 100; }));
    EXPECT_FALSE(tgRead->isEnabled());
    EXPECT_FALSE(articles.btnAWrite->isEnabled());
    // Clicks that still arrive start nothing and say why.
    tgRead->setEnabled(true);
    tgRead->click();
    articles.btnAWrite->setEnabled(true);
    articles.btnAWrite->click();
    articles.btnARead->setEnabled(true);
    articles.btnARead->click();
    ASSERT_EQ(h.messages.size(), 3);
    h.messages.clear();

    ASSERT_TRUE(waitUntil([&] { return label(*h.window, "lblBrojac") == "60000"; }, 120000))
        << label(*h.window, "lblBrojac").toStdString();
    EXPECT_EQ(device.articleReads(), kArticles); // one chain, no request twice
    EXPECT_EQ(device.articleWrites(), 0);
    EXPECT_EQ(h.messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(kArticles)});
    EXPECT_TRUE(tgRead->isEnabled());
    EXPECT_TRUE(articles.btnAWrite->isEnabled());

    // The next operation runs normally, and a false no-answer never follows.
    h.messages.clear();
    tgRead->click();
    ASSERT_TRUE(waitUntil([&] { return !h.messages.isEmpty(); })); // its remaining-changes message
    EXPECT_FALSE(h.messages.join("\n").contains(UiText(Txt::NoAnswer)));
    EXPECT_FALSE(h.link().replyTimer().isActive());
}

TEST(ArticleTransferE2E, WriteWhoseFirstFrameGetsNoAnswer)
{
    QLocale::setDefault(QLocale::c());
    SimHarness h(QStringLiteral("127.0.0.164"));
    FaultInjector silent;
    silent.setSilentAfter(0);
    h.server->setFaults(&silent);
    h.tcp.close();
    ASSERT_TRUE(h.tcp.connectTo(h.server->address()));
    h.link().setTransport(&h.tcp);
    h.link().replyTimer().setInterval(300);

    auto &articles = h.window->articlesSection();
    articles.btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return !h.messages.isEmpty(); }, 5000));
    const QString sent = QString::fromLatin1(h.link().lastSent().left(12).toHex(' ')) + " …";
    EXPECT_TRUE(sent.startsWith("5f 85 32 01 00 ")) << sent.toStdString();
    EXPECT_EQ(h.messages, QStringList{UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
                                      ToolText::noAnswerDetail(sent, "write article 1", h.server->address()) + "\n" +
                                      ToolText::articlesWriteStopped(1, 0)});
    EXPECT_FALSE(h.link().busy());
    EXPECT_TRUE(articles.btnARead->isEnabled());
    EXPECT_EQ(h.window->findChild<QProgressBar *>("PBar")->value(), 0);
}
