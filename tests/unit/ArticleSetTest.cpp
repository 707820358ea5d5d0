// The article data set without a window: JSON in, the 60000-article chains to the simulated printer, JSON back.

#include "ArticleDataSet.h"
#include "ArticleOps.h"
#include "ArticleRecord.h"
#include "Cp1251.h"
#include "DeviceHarness.h"
#include "SimArticles.h"
#include "TaxLetters.h"
#include "UiText.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>
#include <QTimer>

namespace {
QJsonObject article(int number, const QString &name, const QString &barcode, int department, const QString &price,
                    const QString &tax)
{
    return QJsonObject{{"number", number},         {"name", name},   {"barcode", barcode},
                       {"department", department}, {"price", price}, {"taxGroup", tax}};
}

QJsonObject articles(const QJsonArray &list)
{
    return QJsonObject{{"articles", list}};
}

// Keeps the default locale of a test to itself.
struct LocaleScope {
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

// Runs `act` on the harness's event loop once the simulated printer has answered `after` requests.
void afterRequests(DeviceHarness &h, int after, std::function<void()> act)
{
    auto count = std::make_shared<int>(0);
    QObject::connect(h.server.get(), &SimServer::requestAnswered, h.server.get(),
                     [count, after, act = std::move(act)](const QByteArray &, const QByteArray &) {
                         if (++*count == after)
                             QTimer::singleShot(0, act);
                     });
}
} // namespace

TEST(ArticleSet, WrittenArticlesReadBackEqualAndOnlyThoseListed)
{
    // A comma locale must change nothing in the JSON: prices stay "12.50".
    LocaleScope sr(QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia));
    ASSERT_EQ(QLocale().decimalPoint(), ",");
    DeviceHarness h(QStringLiteral("127.0.0.180"));
    ASSERT_TRUE(h.connected);
    SimArticles *sim = h.sim.module<SimArticles>();
    // Left from before: rows the file does not list go to the device as fresh rows.
    ArticleRecord old;
    old.number = 100;
    old.name = "old";
    old.price = 999;
    sim->setArticle(100, old.encode());

    const QJsonObject data =
        articles({article(1, QStringLiteral("Хлеб бели"), "8600000000017", 4, "12.50", "Ђ"),
                  article(7, "Milk", "", 1, "0.05", QStringLiteral("А")),
                  article(60000, QString(32, QChar(u'ж')), "12345678901234", 10, "9999999.99", QStringLiteral("К"))});
    std::vector<std::pair<int, int>> steps;
    std::optional<OpResult> written;
    articlesDataSet().write(
        h.device, data, [&](int n, int total) { steps.emplace_back(n, total); },
        [&](const OpResult &r) { written = r; });
    EXPECT_FALSE(written.has_value()); // never from inside write()
    ASSERT_TRUE(DeviceHarness::wait([&] { return written.has_value(); }, 30000));
    EXPECT_TRUE(written->ok()) << written->message.toStdString();
    EXPECT_EQ(sim->articleWrites(), 60000);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), std::make_pair(60000, 60000));
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));

    // The bytes the device keeps.
    ArticleRecord bread;
    ASSERT_TRUE(ArticleRecord::fromCells(1, QStringLiteral("Хлеб бели"), "8600000000017", "4", "12,50",
                                         QStringLiteral("Ђ"), QLocale(), bread));
    EXPECT_EQ(sim->article(1), bread.encode());
    EXPECT_EQ(sim->article(100), SimArticles::blankArticle(100));
    EXPECT_EQ(uint8_t(sim->article(7).at(36)), 5); // 0.05 is five hundredths

    const auto [r, json] = h.read(articlesDataSet(), 30000);
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(json.toObject(), data);
}

TEST(ArticleSet, WholeTableRoundTrip)
{
    LocaleScope de(QLocale(QLocale::German, QLocale::Germany));
    DeviceHarness h(QStringLiteral("127.0.0.181"));
    ASSERT_TRUE(h.connected);
    QJsonArray list;
    for (int n = 1; n <= 60000; ++n)
        list.append(article(n, QStringLiteral("Артикал %1").arg(n), QString::number(n * 7), n % 10 + 1,
                            ArticleRecord::priceToJson(uint32_t(n) * 101), TaxLetters::letter(n % 9)));
    const QJsonObject data = articles(list);
    const OpResult w = h.write(articlesDataSet(), data, 60000);
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    int read = 0;
    std::optional<std::pair<OpResult, QJsonValue>> out;
    articlesDataSet().read(
        h.device, [&](int n, int) { read = n; }, [&](const OpResult &r, const QJsonValue &v) { out.emplace(r, v); });
    ASSERT_TRUE(DeviceHarness::wait([&] { return out.has_value(); }, 60000));
    EXPECT_TRUE(out->first.ok()) << out->first.message.toStdString();
    EXPECT_EQ(read, 60000);
    const QJsonArray back = out->second.toObject().value("articles").toArray();
    ASSERT_EQ(back.size(), 60000);
    EXPECT_EQ(back.at(12344).toObject().value("price").toString(), "12468.45");
    EXPECT_EQ(out->second.toObject(), data);
}

TEST(ArticleSet, RefusedEntriesSendNothingAndNameTheEntry)
{
    DeviceHarness h(QStringLiteral("127.0.0.182"));
    ASSERT_TRUE(h.connected);
    const quint64 requests = h.sim.requestCount();
    const QJsonObject good = article(5, "ok", "1", 1, "1.00", QStringLiteral("А"));
    auto with = [&](const char *key, const QJsonValue &value) {
        QJsonObject o = good;
        o[key] = value;
        return o;
    };
    QJsonObject noNumber = good;
    noNumber.remove("number");
    QJsonObject typo = good;
    typo["prise"] = "2.00";
    // Each refused, naming where the problem is.
    const std::pair<QJsonValue, const char *> refused[] = {
        {articles({good, with("number", 0)}), "articles[1].number"},
        {articles({with("number", 60001)}), "articles[0].number"},
        {articles({with("number", 2.5)}), "articles[0].number"},
        {articles({noNumber}), "articles[0].number"},
        {articles({with("name", QString(33, 'x'))}), "articles[0].name"},
        {articles({with("name", "a\nb")}), "articles[0].name"},
        {articles({with("name", QStringLiteral("Ω"))}), "Ω"},
        {articles({with("barcode", "12a")}), "articles[0].barcode"},
        {articles({with("barcode", QString(15, '1'))}), "articles[0].barcode"},
        {articles({with("department", 0)}), "articles[0].department"},
        {articles({with("department", 11)}), "articles[0].department"},
        {articles({with("price", "12.345")}), "articles[0].price"},
        {articles({with("price", "-1")}), "articles[0].price"},
        {articles({with("price", "1,50")}), "articles[0].price"},
        {articles({with("price", "1e3")}), "articles[0].price"},
        {articles({with("price", " 1")}), "articles[0].price"},
        {articles({with("price", "10000000")}), "articles[0].price"},
        {articles({with("price", ".5")}), "articles[0].price"},
        {articles({with("price", 12.5)}), "articles[0].price"},
        {articles({with("taxGroup", QStringLiteral("Б"))}), "articles[0].taxGroup"},
        {articles({with("taxGroup", "")}), "articles[0].taxGroup"},
        {articles({typo}), "articles[0].prise"},
        {articles({42}), "articles[0]"},
        {QJsonObject{{"articles", "none"}}, "articles.articles"},
        {QJsonValue(42), "articles"},
    };
    for (const auto &[json, named] : refused) {
        const OpResult r = h.write(articlesDataSet(), json);
        EXPECT_EQ(r.kind, OpResult::Kind::Invalid) << named;
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(named))) << named << ": " << r.message.toStdString();
    }
    // A repeated number names both entries.
    const OpResult repeated = h.write(articlesDataSet(), articles({good, with("barcode", "2")}));
    EXPECT_TRUE(repeated.message.startsWith("articles[1].number")) << repeated.message.toStdString();
    EXPECT_TRUE(repeated.message.contains("articles[0]")) << repeated.message.toStdString();
    DeviceHarness::wait([] { return false; }, 50);
    EXPECT_EQ(h.sim.requestCount(), requests);
    EXPECT_FALSE(h.link.busy());
}

TEST(ArticleSet, DeviceErrorMidChainEndsTheTransfer)
{
    DeviceHarness h(QStringLiteral("127.0.0.183"));
    ASSERT_TRUE(h.connected);
    afterRequests(h, 100, [&] { h.sim.setForcedError(2); });
    const OpResult w = h.write(articlesDataSet(), articles({}));
    EXPECT_EQ(w.kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(w.message.isEmpty());
    EXPECT_EQ(h.sim.module<SimArticles>()->articleWrites(), 100);
    EXPECT_FALSE(h.link.busy());

    h.sim.setForcedError(0);
    afterRequests(h, 150, [&] { h.sim.setForcedError(2); });
    const auto [r, json] = h.read(articlesDataSet());
    EXPECT_EQ(r.kind, OpResult::Kind::DeviceError);
    EXPECT_TRUE(json.isUndefined() || json.isNull());
    EXPECT_EQ(h.sim.module<SimArticles>()->articleReads(), 150);

    // The device leaves service mode by itself during a write.
    h.sim.setForcedError(0);
    afterRequests(h, 170, [&] { h.link.receiveBytes(QByteArray("\x5F\x10\x02\x04\x01\r", 6), true); });
    const OpResult left = h.write(articlesDataSet(), articles({}));
    EXPECT_EQ(left.kind, OpResult::Kind::DeviceError);
    EXPECT_EQ(left.message, UiText(Txt::NotInServiceMode));
}

TEST(ArticleSet, DroppedConnectionMidChain)
{
    DeviceHarness h(QStringLiteral("127.0.0.184"));
    ASSERT_TRUE(h.connected);
    afterRequests(h, 200, [&] { h.server->dropClient(); });
    const auto [r, json] = h.read(articlesDataSet());
    EXPECT_EQ(r.kind, OpResult::Kind::ConnectionLost);
    EXPECT_FALSE(h.link.busy());
    EXPECT_LT(h.sim.module<SimArticles>()->articleReads(), 300);
}

namespace {
QByteArray numberBytes(int n)
{
    return QByteArray(1, char(n & 0xFF)) + char((n >> 8) & 0xFF);
}

ArticleRecord named(int n, const char *name)
{
    ArticleRecord r;
    r.number = uint16_t(n);
    r.name = name;
    r.price = 100;
    return r;
}

// Every request the simulated printer answered, in order.
std::shared_ptr<std::vector<QByteArray>> recordRequests(DeviceHarness &h)
{
    auto seen = std::make_shared<std::vector<QByteArray>>();
    QObject::connect(h.server.get(), &SimServer::requestAnswered, h.server.get(),
                     [seen](const QByteArray &request, const QByteArray &) { seen->push_back(request); });
    return seen;
}
} // namespace

TEST(ArticleSet, RangeReadAsksForFromFirstAndEndsAfterTo)
{
    DeviceHarness h(QStringLiteral("127.0.0.185"));
    ASSERT_TRUE(h.connected);
    SimArticles *sim = h.sim.module<SimArticles>();
    for (int n : {299, 300, 305, 310, 311})
        sim->setArticle(n, named(n, "x").encode());
    auto seen = recordRequests(h);
    std::vector<std::pair<int, int>> steps;
    std::optional<std::pair<OpResult, QJsonValue>> out;
    readArticleRange(
        h.device, 300, 310, [&](int n, int total) { steps.emplace_back(n, total); },
        [&](const OpResult &r, const QJsonValue &v) { out.emplace(r, v); });
    ASSERT_TRUE(DeviceHarness::wait([&] { return out.has_value(); }, 20000));
    ASSERT_TRUE(out->first.ok()) << out->first.message.toStdString();
    ASSERT_EQ(seen->size(), 11u);
    EXPECT_EQ(seen->front(), SimulatedDevice::shortReply(0x80, numberBytes(300)));
    EXPECT_EQ(seen->back(), SimulatedDevice::shortReply(0x80, numberBytes(310)));
    QList<int> numbers;
    for (const QJsonValue &a : out->second.toObject().value("articles").toArray())
        numbers << a.toObject().value("number").toInt();
    EXPECT_EQ(numbers, (QList<int>{300, 305, 310}));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), std::make_pair(11, 11));

    // A device that skips numbers: its answer past "to" ends the read and is not listed.
    sim->setArticleStep(4); // keeps ... 297, 301, 305, 309, 313
    sim->setArticle(313, named(313, "past").encode());
    seen->clear();
    out.reset();
    readArticleRange(h.device, 300, 310, {}, [&](const OpResult &r, const QJsonValue &v) { out.emplace(r, v); });
    ASSERT_TRUE(DeviceHarness::wait([&] { return out.has_value(); }, 20000));
    ASSERT_TRUE(out->first.ok()) << out->first.message.toStdString();
    ASSERT_EQ(seen->size(), 4u); // 300 -> 301, 302 -> 305, 306 -> 309, 310 -> 313
    EXPECT_EQ(seen->back(), SimulatedDevice::shortReply(0x80, numberBytes(310)));
    numbers.clear();
    for (const QJsonValue &a : out->second.toObject().value("articles").toArray())
        numbers << a.toObject().value("number").toInt();
    EXPECT_EQ(numbers, (QList<int>{305}));
    EXPECT_FALSE(h.link.busy());

    // A range outside the table starts nothing.
    EXPECT_FALSE(h.device.articles().read(0, 5));
    EXPECT_FALSE(h.device.articles().read(7, 6));
    EXPECT_FALSE(h.device.articles().read(1, 60001));
    DeviceHarness::wait([] { return false; }, 50);
    EXPECT_EQ(seen->size(), 4u);
    EXPECT_FALSE(h.link.busy());
}

TEST(ArticleSet, RangeWriteSendsOnlyTheRangeWithFreshRowsForUnlisted)
{
    DeviceHarness h(QStringLiteral("127.0.0.186"));
    ASSERT_TRUE(h.connected);
    SimArticles *sim = h.sim.module<SimArticles>();
    for (int n : {99, 103, 111})
        sim->setArticle(n, named(n, "old").encode());
    auto seen = recordRequests(h);
    const QJsonObject data = articles(
        {article(99, "a", "", 1, "1.00", QStringLiteral("А")), article(100, "b", "", 2, "2.00", QStringLiteral("А")),
         article(105, "c", "", 3, "3.00", QStringLiteral("А")), article(111, "d", "", 4, "4.00", QStringLiteral("А"))});
    std::vector<std::pair<int, int>> steps;
    std::optional<OpResult> written;
    writeArticleRange(
        h.device, data, 100, 110, [&](int n, int total) { steps.emplace_back(n, total); },
        [&](const OpResult &r) { written = r; });
    ASSERT_TRUE(DeviceHarness::wait([&] { return written.has_value(); }, 20000));
    ASSERT_TRUE(written->ok()) << written->message.toStdString();
    ASSERT_EQ(seen->size(), 11u);
    EXPECT_EQ(sim->articleWrites(), 11);
    for (const QByteArray &request : *seen)
        EXPECT_EQ(uint8_t(request.at(1)), 0x85);
    EXPECT_EQ(seen->front(), SimulatedDevice::shortReply(0x85, sim->article(100)));
    EXPECT_EQ(seen->back(), SimulatedDevice::shortReply(0x85, SimArticles::blankArticle(110)));
    // Outside the range the device keeps what it had; inside, unlisted rows went fresh.
    EXPECT_EQ(sim->article(99), named(99, "old").encode());
    EXPECT_EQ(sim->article(111), named(111, "old").encode());
    EXPECT_EQ(sim->article(103), SimArticles::blankArticle(103));
    EXPECT_EQ(ArticleRecord::decode(reinterpret_cast<const uint8_t *>(sim->article(105).constData())).name, "c");
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), std::make_pair(1, 11));
    EXPECT_EQ(steps.back(), std::make_pair(11, 11));
    EXPECT_FALSE(h.link.busy());
}

TEST(ArticleSet, NextFrameGoesOutBeforeTheReplyIsTakenIn)
{
    // The window updates its grid and counters from each reply; the line must not wait for that,
    // so the next request is already on its way when a reply is published.
    DeviceHarness h(QStringLiteral("127.0.0.187"));
    ASSERT_TRUE(h.connected);
    ArticleOps &ops = h.device.articles();
    int sent = 0;
    QObject::connect(&h.link, &DeviceLink::frameSent, [&](const QByteArray &) { ++sent; });
    std::vector<std::pair<int, int>> readSeen; // article published, frames sent by then
    QObject::connect(&ops, &ArticleOps::articleArrived,
                     [&](const ArticleRecord &r) { readSeen.emplace_back(r.number, sent); });
    ASSERT_TRUE(ops.read(20, 24));
    ASSERT_TRUE(DeviceHarness::wait([&] { return !h.link.busy(); }, 20000));
    // Requests for 20..24: when 20..23 are published, the request for the one after is out; the
    // last goes out with nothing after it.
    EXPECT_EQ(readSeen, (std::vector<std::pair<int, int>>{{20, 2}, {21, 3}, {22, 4}, {23, 5}, {24, 5}}));

    // Write: when the device asks for article n, its record has gone out already; when it asks
    // for one past the block, the next block's first record has.
    sent = 0;
    std::vector<std::pair<int, int>> writeSeen; // article asked for, frames sent by then
    QObject::connect(&ops, &ArticleOps::writeAsked, [&](int n) { writeSeen.emplace_back(n, sent); });
    const ArticleOps::Source source = [](int n, ArticleRecord &record, QString &) {
        record = named(n, "w");
        return true;
    };
    ASSERT_TRUE(ops.writeBlocks(source, {{5, 6}, {9, 9}}));
    ASSERT_TRUE(DeviceHarness::wait([&] { return !h.link.busy(); }, 20000));
    EXPECT_EQ(writeSeen, (std::vector<std::pair<int, int>>{{6, 2}, {7, 3}, {10, 3}}));
    EXPECT_EQ(ops.articlesDone(), 3);

    // A record the source refuses: the acknowledgement before it is still published, then the refusal.
    writeSeen.clear();
    sent = 0;
    std::vector<int> refused;
    QObject::connect(&ops, &ArticleOps::recordRefused, [&](int n, const QString &) { refused.push_back(n); });
    const ArticleOps::Source refusesEight = [](int n, ArticleRecord &record, QString &reason) {
        record = named(n, "w");
        reason = QStringLiteral("no");
        return n != 8;
    };
    ASSERT_TRUE(ops.write(refusesEight, 7, 9));
    ASSERT_TRUE(DeviceHarness::wait([&] { return !h.link.busy(); }, 20000));
    EXPECT_EQ(writeSeen, (std::vector<std::pair<int, int>>{{8, 1}}));
    EXPECT_EQ(refused, std::vector<int>{8});
    EXPECT_TRUE(ops.stoppedItself());
    EXPECT_EQ(ops.stopReason(), "no");
}
