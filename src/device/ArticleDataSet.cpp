#include "ArticleDataSet.h"

#include "ArticleOps.h"
#include "ArticleTable.h"
#include "DataSet.h"
#include "Device.h"
#include "DeviceLink.h"
#include "ReplyWaiter.h"
#include "UiText.h"

#include <QTimer>

#include <algorithm>
#include <functional>

#include <memory>

namespace {

using Chain = DeviceLink::Chain;

class ArticleDataSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("articles"); }
    int readFrames() const override { return ArticleOps::kArticles; }
    int writeFrames() const override { return ArticleOps::kArticles; }

    bool check(const QJsonValue &data, QString &error) const override
    {
        ArticleTable table;
        return ArticleTable::fromJson(data, table, error);
    }

    void read(Device &device, const Progress &progress, ReadDone done) const override
    {
        readRange(device, 1, ArticleOps::kArticles, progress, std::move(done));
    }

    void write(Device &device, const QJsonValue &data, const Progress &progress, WriteDone done) const override
    {
        writeRange(device, data, 1, ArticleOps::kArticles, progress, std::move(done));
    }

    static void readRange(Device &device, int from, int to, const Progress &progress, ReadDone done)
    {
        auto table = std::make_shared<ArticleTable>();
        ArticleOps &ops = device.articles();
        auto *stored = new QObject(&device); // holds this run's connections
        QObject::connect(&ops, &ArticleOps::articleArrived, stored, [table](const ArticleRecord &r) { table->set(r); });
        if (progress)
            QObject::connect(&ops, &ArticleOps::readStepped, stored, [progress, from, to](int next) {
                progress(std::min(next - 1, to) - from + 1, to - from + 1);
            });
        run(
            device, Chain::ArticlesRead, [&ops, from, to] { return ops.read(from, to); },
            [stored, table, done = std::move(done)](const OpResult &result) {
                delete stored;
                done(result, result.ok() ? table->toJson() : QJsonValue());
            });
    }

    static void writeRange(Device &device, const QJsonValue &data, int from, int to, const Progress &progress,
                           WriteDone done)
    {
        // Progress follows the number the device asks for, which may skip articles.
        ArticleOps &ops = device.articles();
        ProgressHook hook;
        if (progress)
            hook = [&ops, progress, from, to](QObject *stored) {
                QObject::connect(&ops, &ArticleOps::writeAsked, stored, [progress, from, to](int n) {
                    progress(std::clamp(n - from, 0, to - from + 1), to - from + 1);
                });
            };
        writeChain(device, data, {{from, to}}, hook, std::move(done));
    }

    static void writeBlocks(Device &device, const QJsonValue &data, const ArticleOps::Blocks &blocks,
                            const Progress &progress, WriteDone done)
    {
        // Progress counts the records the device acknowledged over all blocks.
        int total = 0;
        for (const auto &[from, to] : blocks)
            total += to - from + 1;
        ArticleOps &ops = device.articles();
        ProgressHook hook;
        if (progress)
            hook = [&ops, progress, total](QObject *stored) {
                QObject::connect(&ops, &ArticleOps::writeAsked, stored, [&ops, progress, total](int) {
                    progress(std::min(ops.articlesDone(), total), total);
                });
            };
        writeChain(device, data, blocks, hook, std::move(done));
    }

private:
    // Connects a progress report to the running chain, for as long as `stored` lives.
    using ProgressHook = std::function<void(QObject *stored)>;

    static void writeChain(Device &device, const QJsonValue &data, const ArticleOps::Blocks &blocks,
                           const ProgressHook &hook, WriteDone done)
    {
        auto table = std::make_shared<ArticleTable>();
        QString error;
        if (!ArticleTable::fromJson(data, *table, error)) {
            QTimer::singleShot(0, &device, [done = std::move(done), error] {
                done(OpResult::failed(OpResult::Kind::Invalid, error));
            });
            return;
        }
        ArticleOps &ops = device.articles();
        auto *stored = new QObject(&device);
        if (hook)
            hook(stored);
        run(
            device, Chain::ArticlesWrite,
            [&ops, table, blocks] {
                return ops.writeBlocks(
                    [table](int n, ArticleRecord &record, QString &) {
                        record = table->record(n);
                        return true;
                    },
                    blocks);
            },
            [stored, done = std::move(done)](const OpResult &result) {
                delete stored;
                done(result);
            });
    }

    // Runs one chain to its end: `start` begins it, `finish` is called once, from the event loop.
    static void run(Device &device, Chain chain, const std::function<bool()> &start,
                    std::function<void(const OpResult &)> finish)
    {
        ArticleOps &ops = device.articles();
        auto *waiter = new ChainWaiter(device.link(), chain, &device);
        QObject::connect(waiter, &ChainWaiter::ended, &device,
                         [waiter, &device, &ops, finish = std::move(finish)](const OpResult &ended) {
                             waiter->deleteLater();
                             OpResult result = ended;
                             // A chain stopped by the tool itself is no bad data here: every entry
                             // was checked before the chain started.
                             if (result.kind == OpResult::Kind::Invalid) {
                                 if (!ops.stoppedItself())
                                     result =
                                         OpResult::failed(OpResult::Kind::DeviceError, UiText(Txt::NotInServiceMode));
                                 else if (ops.stopReason().isEmpty())
                                     result = OpResult::failed(OpResult::Kind::NotSent);
                                 else
                                     result = OpResult::failed(OpResult::Kind::DeviceError, ops.stopReason());
                             }
                             QTimer::singleShot(0, &device, [finish, result] { finish(result); });
                         });
        // The link has said why the chain could not start.
        if (!start() && !waiter->finished())
            waiter->finish(OpResult::failed(OpResult::Kind::NotSent));
    }
};

} // namespace

const DataSet &articlesDataSet()
{
    static const ArticleDataSet set;
    return set;
}

void readArticleRange(Device &device, int from, int to, const DataSet::Progress &progress, DataSet::ReadDone done)
{
    ArticleDataSet::readRange(device, from, to, progress, std::move(done));
}

void writeArticleRange(Device &device, const QJsonValue &data, int from, int to, const DataSet::Progress &progress,
                       DataSet::WriteDone done)
{
    ArticleDataSet::writeRange(device, data, from, to, progress, std::move(done));
}

std::vector<std::pair<int, int>> articleBlocks(const std::vector<int> &numbers)
{
    std::vector<std::pair<int, int>> blocks;
    for (int n : numbers) {
        if (!blocks.empty() && blocks.back().second + 1 == n)
            blocks.back().second = n;
        else
            blocks.emplace_back(n, n);
    }
    return blocks;
}

bool differingArticles(const QJsonValue &base, const QJsonValue &data, int from, int to, std::vector<int> &numbers,
                       QString &error, bool &baseFaulty)
{
    ArticleTable before;
    ArticleTable after;
    baseFaulty = !ArticleTable::fromJson(base, before, error);
    if (baseFaulty || !ArticleTable::fromJson(data, after, error))
        return false;
    numbers.clear();
    uint8_t a[ArticleRecord::kSize];
    uint8_t b[ArticleRecord::kSize];
    for (int n = std::max(from, 1); n <= std::min(to, int(ArticleOps::kArticles)); ++n) {
        before.record(n).encode(a);
        after.record(n).encode(b);
        if (!std::equal(a, a + ArticleRecord::kSize, b))
            numbers.push_back(n);
    }
    return true;
}

void writeArticleBlocks(Device &device, const QJsonValue &data, const std::vector<std::pair<int, int>> &blocks,
                        const DataSet::Progress &progress, DataSet::WriteDone done)
{
    if (blocks.empty()) {
        QTimer::singleShot(0, &device, [done = std::move(done)] { done(OpResult::done()); });
        return;
    }
    ArticleDataSet::writeBlocks(device, data, blocks, progress, std::move(done));
}
