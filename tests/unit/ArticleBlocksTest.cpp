// Writing only some articles: consecutive numbers joined into blocks, the articles two JSON forms
// differ in, and one write chain over the blocks to the simulated printer over loopback TCP.

#include "ArticleDataSet.h"
#include "ArticleRecord.h"
#include "DeviceHarness.h"
#include "SimArticles.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

namespace {
using Blocks = std::vector<std::pair<int, int>>;

QJsonObject entry(int number, const QString &name, const QString &price = QStringLiteral("1.00"))
{
    return QJsonObject{{"number", number}, {"name", name},   {"barcode", ""},
                       {"department", 1},  {"price", price}, {"taxGroup", QStringLiteral("А")}};
}

QJsonObject articles(const QJsonArray &list)
{
    return QJsonObject{{"articles", list}};
}

// The article numbers of the write requests the printer answered, in order.
std::shared_ptr<std::vector<int>> writtenNumbers(DeviceHarness &h)
{
    auto seen = std::make_shared<std::vector<int>>();
    QObject::connect(h.server.get(), &SimServer::requestAnswered, h.server.get(),
                     [seen](const QByteArray &request, const QByteArray &) {
                         if (request.size() == 54 && uint8_t(request.at(1)) == 0x85)
                             seen->push_back(uint8_t(request.at(3)) | (uint8_t(request.at(4)) << 8));
                         else
                             seen->push_back(-1); // anything else is no part of these writes
                     });
    return seen;
}

std::optional<OpResult> writeBlocks(DeviceHarness &h, const QJsonValue &data, const Blocks &blocks,
                                    std::vector<std::pair<int, int>> *steps = nullptr)
{
    std::optional<OpResult> out;
    DataSet::Progress progress;
    if (steps)
        progress = [steps](int n, int total) { steps->emplace_back(n, total); };
    writeArticleBlocks(h.device, data, blocks, progress, [&](const OpResult &r) { out = r; });
    DeviceHarness::wait([&] { return out.has_value(); }, 20000);
    return out;
}
} // namespace

TEST(ArticleBlocks, ConsecutiveNumbersJoinIntoBlocks)
{
    EXPECT_EQ(articleBlocks({}), Blocks{});
    EXPECT_EQ(articleBlocks({7}), (Blocks{{7, 7}}));
    EXPECT_EQ(articleBlocks({3, 4, 5, 9}), (Blocks{{3, 5}, {9, 9}}));
    EXPECT_EQ(articleBlocks({1, 3, 5, 6, 59999, 60000}), (Blocks{{1, 1}, {3, 3}, {5, 6}, {59999, 60000}}));
}

TEST(ArticleBlocks, DifferingArticlesCompareWholeRecordsWithinTheRange)
{
    QLocale::setDefault(QLocale::c());
    const QJsonObject base = articles({entry(2, "a"), entry(5, "b"), entry(9, "c"), entry(40, "x")});
    // 2 equal; 5 new price; 9 gone back to a fresh row; 11 new; 40 equal.
    const QJsonObject data = articles({entry(2, "a"), entry(5, "b", "1.01"), entry(11, "d"), entry(40, "x")});
    std::vector<int> numbers;
    QString error;
    bool baseFaulty = true;
    ASSERT_TRUE(differingArticles(base, data, 1, 60000, numbers, error, baseFaulty)) << error.toStdString();
    EXPECT_FALSE(baseFaulty);
    EXPECT_EQ(numbers, (std::vector<int>{5, 9, 11}));
    ASSERT_TRUE(differingArticles(base, data, 6, 10, numbers, error, baseFaulty));
    EXPECT_EQ(numbers, (std::vector<int>{9}));
    // An entry listed with a fresh row's values is no difference from an unlisted one.
    ASSERT_TRUE(differingArticles(
        articles({}),
        articles({QJsonObject{
            {"number", 3}, {"name", ""}, {"barcode", ""}, {"department", 1}, {"price", "0.00"}, {"taxGroup", "А"}}}),
        1, 60000, numbers, error, baseFaulty));
    EXPECT_TRUE(numbers.empty());
    ASSERT_TRUE(differingArticles(data, data, 1, 60000, numbers, error, baseFaulty));
    EXPECT_TRUE(numbers.empty());

    // Either side that does not check out is refused, and it is said which.
    const QJsonObject broken = articles({entry(70000, "no such article")});
    EXPECT_FALSE(differingArticles(broken, data, 1, 60000, numbers, error, baseFaulty));
    EXPECT_TRUE(baseFaulty);
    EXPECT_TRUE(error.contains("articles[0]")) << error.toStdString();
    EXPECT_FALSE(differingArticles(base, broken, 1, 60000, numbers, error, baseFaulty));
    EXPECT_FALSE(baseFaulty);
}

TEST(ArticleBlocks, TheBlocksAreOneChainAndNothingElseIsSent)
{
    QLocale::setDefault(QLocale::c());
    DeviceHarness h(QStringLiteral("127.0.0.141"));
    ASSERT_TRUE(h.connected);
    SimArticles *sim = h.sim.module<SimArticles>();
    for (int n : {2, 6, 8, 100})
        sim->setArticle(n, SimArticles::blankArticle(n).replace(2, 3, "old"));
    const QByteArray untouched6 = sim->article(6);
    const QByteArray untouched100 = sim->article(100);
    auto seen = writtenNumbers(h);
    // The next block's first record answers the reply past the block before: one chain, no pause.
    int chainEnds = 0;
    QObject::connect(&h.link, &DeviceLink::chainEnded, &h.link,
                     [&](DeviceLink::Chain, DeviceLink::ChainEnd) { ++chainEnds; });
    const QJsonObject data = articles({entry(3, "c"), entry(4, "d"), entry(5, "e"), entry(9, "i"), entry(60000, "z")});
    std::vector<std::pair<int, int>> steps;
    const auto done = writeBlocks(h, data, {{3, 5}, {9, 9}, {60000, 60000}}, &steps);
    ASSERT_TRUE(done.has_value());
    ASSERT_TRUE(done->ok()) << done->message.toStdString();
    EXPECT_EQ(*seen, (std::vector<int>{3, 4, 5, 9, 60000}));
    EXPECT_EQ(chainEnds, 1);
    EXPECT_EQ(sim->articleWrites(), 5);
    EXPECT_EQ(ArticleRecord::decode(reinterpret_cast<const uint8_t *>(sim->article(4).constData())).name, "d");
    EXPECT_EQ(ArticleRecord::decode(reinterpret_cast<const uint8_t *>(sim->article(60000).constData())).name, "z");
    EXPECT_EQ(sim->article(6), untouched6);
    EXPECT_EQ(sim->article(100), untouched100);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), std::make_pair(5, 5));
    for (const auto &[n, total] : steps)
        EXPECT_TRUE(n >= 0 && n <= total) << n << " of " << total;
    EXPECT_FALSE(h.link.busy());

    // A printer that keeps every second article asks past a block early: the next block still
    // begins with its own first article, and the write still ends as one chain.
    sim->setArticleStep(2);
    seen->clear();
    const auto stepped = writeBlocks(h, data, {{3, 5}, {9, 9}});
    ASSERT_TRUE(stepped.has_value());
    EXPECT_TRUE(stepped->ok()) << stepped->message.toStdString();
    EXPECT_EQ(*seen, (std::vector<int>{3, 5, 9}));
    EXPECT_EQ(chainEnds, 2);
    sim->setArticleStep(1);

    // No blocks: done, nothing sent.
    seen->clear();
    const auto none = writeBlocks(h, data, {});
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->ok());
    EXPECT_TRUE(seen->empty());

    // Data that does not check out sends nothing, not even the blocks before the bad entry.
    const auto refused = writeBlocks(h, articles({entry(3, "c"), entry(3, "again")}), {{3, 3}});
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->kind, OpResult::Kind::Invalid);
    EXPECT_TRUE(seen->empty());
}

TEST(ArticleBlocks, AFailedBlockStopsTheBlocksAfterIt)
{
    QLocale::setDefault(QLocale::c());
    DeviceHarness h(QStringLiteral("127.0.0.142"));
    ASSERT_TRUE(h.connected);
    auto seen = writtenNumbers(h);
    // The printer refuses the third record with an error reply and takes everything after it again,
    // so that a block written after the failed one would be seen.
    int answered = 0;
    QObject::connect(h.server.get(), &SimServer::requestAnswered, h.server.get(),
                     [&](const QByteArray &, const QByteArray &) {
                         ++answered;
                         if (answered == 2)
                             h.sim.setForcedError(2);
                         else if (answered == 3)
                             h.sim.setForcedError(0);
                     });
    const QJsonObject data = articles({entry(10, "a"), entry(11, "b"), entry(12, "c"), entry(20, "d")});
    const auto done = writeBlocks(h, data, {{10, 12}, {20, 20}});
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->kind, OpResult::Kind::DeviceError);
    DeviceHarness::wait([] { return false; }, 100);
    EXPECT_EQ(*seen, (std::vector<int>{10, 11, 12}));
    EXPECT_FALSE(h.link.busy());
}
