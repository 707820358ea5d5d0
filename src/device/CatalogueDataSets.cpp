#include "DataSet.h"
#include "DataSetResult.h"

#include "ArticleDataSet.h"
#include "CashiersOps.h"
#include "Cp1251.h"
#include "DepartmentsOps.h"
#include "Device.h"
#include "DeviceLink.h"
#include "JsonFields.h"
#include "ReplyWaiter.h"
#include "TaxGroupsOps.h"
#include "ToolText.h"
#include "UiText.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>

namespace {

using Kind = OpResult::Kind;

// Reads one record that `Ops::received` publishes, with `code` as the reply that ends the wait.
template <typename Ops, typename Record> void readRecord(Device &device, Ops &ops, uint8_t code, DataSet::ReadDone done)
{
    auto data = std::make_shared<QJsonValue>();
    auto conn = std::make_shared<QMetaObject::Connection>(
        QObject::connect(&ops, &Ops::received, &device, [data](const Record &r) { *data = r.toJson(); }));
    ReplyWaiter::run(
        device.link(), code, [&ops] { return ops.read(); },
        [data, conn, done = std::move(done)](const OpResult &result) {
            QObject::disconnect(*conn);
            done(result, result.ok() ? *data : QJsonValue());
        });
}

// False with `error` naming the characters when Windows-1251 cannot hold some of `texts`.
bool encodable(const QStringList &texts, QString &error)
{
    const QString bad = Cp1251::listUnencodable(texts);
    if (bad.isEmpty())
        return true;
    error = ToolText::unencodableRefused(bad);
    return false;
}

class TaxGroupsSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("taxgroups"); }
    // The write reads the rates first, so that rates the device already holds use no change.
    int writeFrames() const override { return 2; }
    QString writeQuestion() const override { return ToolText::taxGroupsWriteQuestion(); }

    void read(Device &device, const Progress &, ReadDone done) const override
    {
        readRecord<TaxGroupsOps, TaxGroupsRecord>(device, device.taxGroups(), TaxGroupsOps::kReadCode, std::move(done));
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        TaxGroupsRecord record;
        return TaxGroupsRecord::fromJson(json, record, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &progress, WriteDone done) const override
    {
        TaxGroupsRecord record;
        QString error;
        if (!TaxGroupsRecord::fromJson(json, record, error))
            return later(device, std::move(done), OpResult::failed(Kind::Invalid, error));
        // The device refuses rates equal to its own, and each accepted write uses one of its 30
        // changes: read first, and write only when something differs.
        auto current = std::make_shared<std::optional<TaxGroupsRecord>>();
        auto conn = std::make_shared<QMetaObject::Connection>(
            QObject::connect(&device.taxGroups(), &TaxGroupsOps::received, &device,
                             [current](const TaxGroupsRecord &r) { *current = r; }));
        ReplyWaiter::run(
            device.link(), TaxGroupsOps::kReadCode, [&device] { return device.taxGroups().read(); },
            [&device, record, current, conn, progress, done = std::move(done)](const OpResult &result) {
                QObject::disconnect(*conn);
                if (!result.ok() || !current->has_value())
                    return done(result.ok() ? OpResult::failed(Kind::NoAnswer, UiText(Txt::NoAnswer)) : result);
                if (progress)
                    progress(1, 2);
                if ((*current)->rates == record.rates)
                    return done(OpResult{Kind::Done, ToolText::taxRatesAlreadyThere()});
                ReplyWaiter::run(
                    device.link(), ReplyWaiter::kAnyReply,
                    [&device, record] { return device.taxGroups().write(record) == TaxGroupsOps::Write::Sent; }, done);
            });
    }
};

class DepartmentsSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("departments"); }

    void read(Device &device, const Progress &, ReadDone done) const override
    {
        readRecord<DepartmentsOps, DepartmentsRecord>(device, device.departments(), DepartmentsOps::kReadCode,
                                                      std::move(done));
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        DepartmentsRecord record;
        QStringList texts;
        return DepartmentsRecord::fromJson(json, record, error, &texts) && encodable(texts, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &, WriteDone done) const override
    {
        DepartmentsRecord record;
        QString error;
        QStringList texts;
        if (!DepartmentsRecord::fromJson(json, record, error, &texts))
            return later(device, std::move(done), OpResult::failed(Kind::Invalid, error));
        if (const QString bad = Cp1251::listUnencodable(texts); !bad.isEmpty())
            return later(device, std::move(done), OpResult::failed(Kind::Invalid, ToolText::unencodableRefused(bad)));
        ReplyWaiter::run(
            device.link(), ReplyWaiter::kAnyReply,
            [&device, record] { return device.departments().write(record) == DepartmentsOps::Write::Sent; },
            std::move(done));
    }
};

constexpr int kCashiers = CashierRecord::kCashiers;
using CashierNames = std::array<std::optional<QString>, kCashiers>;

QJsonObject cashiersJson(const CashierNames &names)
{
    QJsonArray list;
    for (int i = 0; i < kCashiers; ++i)
        list.append(
            QJsonObject{{"number", i + 1},
                        {"name", names[size_t(i)] ? QJsonValue(*names[size_t(i)]) : QJsonValue(QJsonValue::Null)}});
    return QJsonObject{{"cashiers", list}};
}

// Reads the JSON form of the cashiers: 64 objects in order, each a name or null (no name). With
// `writeRules` the rules of a write hold too: the device writes its cashiers in order from the
// first, so the named ones must come first, and names have their least length. A read may give
// what a write refuses (a device's own table), so a stored copy is checked without them.
bool cashiersFromJson(const QJsonValue &json, CashierNames &names, QString &error, QStringList &texts,
                      bool writeRules = true)
{
    JsonFields top(json, QStringLiteral("cashiers"));
    const QJsonArray list = top.array(QStringLiteral("cashiers"), kCashiers);
    if (top.ok() && list.size() != kCashiers)
        top.fail(QStringLiteral("cashiers"), ToolText::catalogueExactItems(kCashiers));
    if (!top.ok()) {
        error = top.error();
        return false;
    }
    bool seenUnnamed = false;
    for (int i = 0; i < kCashiers; ++i) {
        JsonFields c(list.at(i), QStringLiteral("cashiers.cashiers[%1]").arg(i));
        if (c.integer(QStringLiteral("number"), 1, kCashiers) != i + 1 && c.ok())
            c.fail(QStringLiteral("number"), ToolText::catalogueNumberExpected(i + 1));
        const bool unnamed = c.ok() && list.at(i).toObject().value(QStringLiteral("name")).isNull();
        if (unnamed) {
            seenUnnamed = true;
        } else {
            const QString name = c.string(QStringLiteral("name"), CashierRecord::kNameMaxChars);
            // The device takes one character for the first cashier, two for every other one.
            const int minimum = i == 0 ? 1 : 2;
            if (c.ok() && seenUnnamed && writeRules)
                c.fail(QStringLiteral("name"), ToolText::cashierAfterUndefined());
            else if (c.ok() && name.size() < minimum && writeRules)
                c.fail(QStringLiteral("name"), ToolText::catalogueNameTooShort(minimum));
            names[size_t(i)] = name;
            texts.append(name);
        }
        if (!c.ok()) {
            error = c.error();
            return false;
        }
    }
    return true;
}

bool unaskedReply(uint8_t code)
{
    return code == 0x00 || code == 0x10 || code == 0xFD;
}

// The write chain ends as soon as the last cashier is sent; this waits for the device's answer to
// that last request (its request for the cashier after it, or a plain acknowledgement).
void awaitLastAcknowledgement(Device &device, std::function<void(const OpResult &)> done)
{
    DeviceLink &link = device.link();
    auto *watch = new QObject(&link);
    auto *timer = new QTimer(watch);
    auto finish = [watch, &link, done = std::move(done)](const OpResult &result) {
        if (watch->property("finished").toBool())
            return;
        watch->setProperty("finished", true);
        watch->deleteLater();
        QTimer::singleShot(0, &link, [done, result] { done(result); });
    };
    QObject::connect(&device.cashiers(), &CashiersOps::writeCompleted, watch, [finish] { finish(OpResult::done()); });
    QObject::connect(&link, &DeviceLink::replyDispatched, watch, [finish](uint8_t code) {
        // 0x95 replies are the cashier chain's own (the one that asked for the last cashier among them).
        if (code == CashiersOps::kWriteCode || code == 0xF5 || unaskedReply(code))
            return;
        finish(OpResult::done());
    });
    QObject::connect(&link, &DeviceLink::deviceErrorReply, watch,
                     [finish](const QString &text) { finish(OpResult::failed(Kind::DeviceError, text)); });
    QObject::connect(&link, &DeviceLink::noAnswer, watch,
                     [finish] { finish(OpResult::failed(Kind::NoAnswer, ToolText::noAnswerToWrite())); });
    QObject::connect(&link, &DeviceLink::connectionLost, watch,
                     [finish] { finish(OpResult::failed(Kind::ConnectionLost, ToolText::ConnectionLost())); });
    QObject::connect(timer, &QTimer::timeout, watch,
                     [finish] { finish(OpResult::failed(Kind::NoAnswer, ToolText::noAnswerToWrite())); });
    timer->setSingleShot(true);
    timer->start(DeviceLink::kReplyTimeoutMs);
}

// A chain that stopped without the device's word: a request could not be written.
OpResult chainResult(const OpResult &result)
{
    return result.kind == Kind::Invalid ? OpResult::failed(Kind::NotSent, result.message) : result;
}

class CashiersSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("cashiers"); }
    int readFrames() const override { return kCashiers; }
    int writeFrames() const override { return kCashiers; }

    void read(Device &device, const Progress &progress, ReadDone done) const override
    {
        DeviceLink &link = device.link();
        auto names = std::make_shared<CashierNames>();
        auto *waiter = new ChainWaiter(link, DeviceLink::Chain::CashiersRead, &link);
        QObject::connect(&device.cashiers(), &CashiersOps::received, waiter, [names, progress](const CashierRecord &r) {
            if (r.number < 1 || r.number > kCashiers)
                return;
            (*names)[size_t(r.number - 1)] = r.name;
            if (progress)
                progress(r.number, kCashiers);
        });
        QObject::connect(waiter, &ChainWaiter::ended, waiter,
                         [waiter, &link, names, done = std::move(done)](const OpResult &ended) {
                             waiter->deleteLater();
                             const OpResult result = chainResult(ended);
                             const QJsonValue json = result.ok() ? QJsonValue(cashiersJson(*names)) : QJsonValue();
                             QTimer::singleShot(0, &link, [done, result, json] { done(result, json); });
                         });
        if (!device.cashiers().startRead() && !waiter->finished())
            waiter->finish(OpResult::failed(Kind::NotSent)); // another chain runs: the link said so
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        CashierNames names;
        QStringList texts;
        return cashiersFromJson(json, names, error, texts, false) && encodable(texts, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &progress, WriteDone done) const override
    {
        auto names = std::make_shared<CashierNames>();
        QString error;
        QStringList texts;
        if (!cashiersFromJson(json, *names, error, texts))
            return later(device, std::move(done), OpResult::failed(Kind::Invalid, error));
        if (const QString bad = Cp1251::listUnencodable(texts); !bad.isEmpty())
            return later(device, std::move(done), OpResult::failed(Kind::Invalid, ToolText::unencodableRefused(bad)));
        int count = 0;
        while (count < kCashiers && (*names)[size_t(count)])
            ++count;
        if (count == 0) // no cashier has a name: there is nothing the device could be sent
            return later(device, std::move(done), OpResult::done());

        DeviceLink &link = device.link();
        auto refusedAt = std::make_shared<int>(0);
        auto *waiter = new ChainWaiter(link, DeviceLink::Chain::CashiersWrite, &link);
        QObject::connect(&device.cashiers(), &CashiersOps::writeRefused, waiter,
                         [refusedAt](int number) { *refusedAt = number; });
        QObject::connect(&device.cashiers(), &CashiersOps::writeStepStarting, waiter, [progress, count](int number) {
            if (progress)
                progress(number - 1, count);
        });
        QObject::connect(waiter, &ChainWaiter::ended, waiter,
                         [waiter, &device, &link, refusedAt, done = std::move(done)](const OpResult &ended) mutable {
                             waiter->deleteLater();
                             if (ended.ok())
                                 return awaitLastAcknowledgement(device, std::move(done));
                             const OpResult result =
                                 *refusedAt ? OpResult::failed(Kind::DeviceError,
                                                               ToolText::cashierUnexpectedRequest(*refusedAt))
                                            : chainResult(ended);
                             QTimer::singleShot(0, &link, [done, result] { done(result); });
                         });
        const CashiersOps::NameSource source = [names](int number) {
            return (*names)[size_t(number - 1)].value_or(QString());
        };
        if (!device.cashiers().startWrite(source, count) && !waiter->finished())
            waiter->finish(OpResult::failed(Kind::NotSent)); // another chain runs: the link said so
    }
};

} // namespace

void addCatalogueDataSets(std::vector<const DataSet *> &sets)
{
    static const TaxGroupsSet taxGroups;
    static const DepartmentsSet departments;
    static const CashiersSet cashiers;
    sets.push_back(&taxGroups);
    sets.push_back(&departments);
    sets.push_back(&articlesDataSet());
    sets.push_back(&cashiers);
}
