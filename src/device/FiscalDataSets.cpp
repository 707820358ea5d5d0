#include "DataSet.h"
#include "DataSetResult.h"

#include "ClockOps.h"
#include "ClockRecord.h"
#include "Cp1251.h"
#include "Device.h"
#include "DeviceLink.h"
#include "FiscalDataOps.h"
#include "FiscalDataRecord.h"
#include "JsonFields.h"
#include "LastFiscalDateTime.h"
#include "LogoBlock.h"
#include "LogoOps.h"
#include "ReceiptLinesOps.h"
#include "ReplyWaiter.h"
#include "TaxpayerOps.h"
#include "ToolText.h"
#include "UiText.h"

#include <QTimer>

#include <memory>
#include <optional>

namespace {

// False with `error` naming the characters when Windows-1251 cannot hold some of `texts`.
bool unencodableError(const QStringList &texts, QString &error)
{
    const QString bad = Cp1251::listUnencodable(texts);
    if (bad.isEmpty())
        return true;
    error = ToolText::unencodableRefused(bad);
    return false;
}

class TaxpayerSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("taxpayer"); }

    void read(Device &device, const Progress &, ReadDone done) const override
    {
        auto data = std::make_shared<QJsonValue>();
        auto conn = std::make_shared<QMetaObject::Connection>(
            QObject::connect(&device.taxpayer(), &TaxpayerOps::received, &device,
                             [data](const TaxpayerRecord &r) { *data = r.toJson(); }));
        ReplyWaiter::run(
            device.link(), TaxpayerOps::kReadCode, [&device] { return device.taxpayer().read(); },
            [data, conn, done = std::move(done)](const OpResult &result) {
                QObject::disconnect(*conn);
                done(result, result.ok() ? *data : QJsonValue());
            });
    }

    // The form and the code page; an empty statistical number is the write's own refusal, since a
    // device may well hold one.
    bool check(const QJsonValue &json, QString &error) const override
    {
        TaxpayerRecord record;
        QStringList texts;
        if (!TaxpayerRecord::fromJson(json, record, error, &texts))
            return false;
        return unencodableError(texts, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &, WriteDone done) const override
    {
        TaxpayerRecord record;
        QString error;
        QStringList texts;
        if (!TaxpayerRecord::fromJson(json, record, error, &texts))
            return later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, error));
        if (const QString bad = Cp1251::listUnencodable(texts); !bad.isEmpty())
            return later(device, std::move(done),
                         OpResult::failed(OpResult::Kind::Invalid, ToolText::unencodableRefused(bad)));
        if (record.fields[TaxpayerRecord::DzlBulstat].isEmpty())
            return later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, UiText(Txt::DataError)));
        ReplyWaiter::run(
            device.link(), ReplyWaiter::kAnyReply,
            [&device, record] { return device.taxpayer().write(record) == TaxpayerOps::Write::Sent; }, std::move(done));
    }
};

// One read request whose reply `Ops` publishes as `received`: the record's JSON, when it came.
template <typename Ops, typename Record>
void readRecord(Device &device, Ops &ops, void (Ops::*received)(const Record &), int code, DataSet::ReadDone done)
{
    auto data = std::make_shared<QJsonValue>();
    auto conn = std::make_shared<QMetaObject::Connection>(
        QObject::connect(&ops, received, &device, [data](const Record &r) { *data = r.toJson(); }));
    ReplyWaiter::run(
        device.link(), code, [&ops] { return ops.read(); },
        [data, conn, done = std::move(done)](const OpResult &result) {
            QObject::disconnect(*conn);
            done(result, result.ok() ? *data : QJsonValue());
        });
}

// Refuses texts Windows-1251 cannot hold; true when it did (and `done` has been called).
bool refuseUnencodable(Device &device, const QStringList &texts, DataSet::WriteDone &done)
{
    const QString bad = Cp1251::listUnencodable(texts);
    if (bad.isEmpty())
        return false;
    later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, ToolText::unencodableRefused(bad)));
    return true;
}

class FiscalSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("fiscal"); }
    // Fiscalisation happens once, in the window, behind its question.
    bool writable() const override { return false; }

    void read(Device &device, const Progress &, ReadDone done) const override
    {
        readRecord(device, device.fiscalData(), &FiscalDataOps::received, FiscalDataOps::kReadCode, std::move(done));
    }

    // Only read: the form the read gives (the serial numbers, the tax number and the fiscalisation).
    bool check(const QJsonValue &json, QString &error) const override
    {
        JsonFields f(json, name());
        f.string(QStringLiteral("cashRegisterSerial"), FiscalDataRecord::kSerialWriteWidth);
        f.string(QStringLiteral("fiscalMemorySerial"), FiscalDataRecord::kSerialWriteWidth);
        f.string(QStringLiteral("taxNumber"), FiscalDataRecord::kTaxNumberWriteWidth);
        f.boolean(QStringLiteral("fiscalised"));
        error = f.error();
        return f.ok();
    }

    void write(Device &device, const QJsonValue &, const Progress &, WriteDone done) const override
    {
        later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, ToolText::fiscalNotWritable()));
    }
};

class ClockSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("clock"); }
    // The write reads the last fiscal date-time first.
    int writeFrames() const override { return 2; }

    void read(Device &device, const Progress &, ReadDone done) const override
    {
        readRecord(device, device.clock(), &ClockOps::received, ClockOps::kReadCode, std::move(done));
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        QDate date;
        QTime time;
        return ClockRecord::fromJson(json, date, time, error);
    }

    // As in the window, a setting must be later than the last fiscal date-time; the device's own
    // is read first, so that the bound is the device's and not whatever this run happens to know.
    void write(Device &device, const QJsonValue &json, const Progress &progress, WriteDone done) const override
    {
        QDate date;
        QTime time;
        QString error;
        if (!ClockRecord::fromJson(json, date, time, error))
            return later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, error));
        auto record = std::make_shared<std::optional<ClockRecord>>();
        auto conn = std::make_shared<QMetaObject::Connection>(QObject::connect(
            &device.clock(), &ClockOps::received, &device, [record](const ClockRecord &r) { *record = r; }));
        ReplyWaiter::run(
            device.link(), ClockOps::kReadCode, [&device] { return device.clock().read(); },
            [&device, date, time, record, conn, progress, done = std::move(done)](const OpResult &read) mutable {
                QObject::disconnect(*conn);
                if (!read.ok() || !record->has_value())
                    return done(read.ok() ? OpResult::failed(OpResult::Kind::NoAnswer, UiText(Txt::NoAnswer)) : read);
                if (progress)
                    progress(1, 2);
                const ClockRecord &r = **record;
                if (LastFiscalDateTime::wallClock(date, time) <=
                    LastFiscalDateTime::wallClock(r.fiscalDate, r.fiscalTime)) {
                    const QString bound = r.fiscalDate.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
                                          r.fiscalTime.toString(QStringLiteral("HH:mm"));
                    return done(OpResult::failed(OpResult::Kind::Invalid, ToolText::clockNotAfterFiscal(bound)));
                }
                ReplyWaiter::run(
                    device.link(), ReplyWaiter::kAnyReply,
                    [&device, date, time] { return device.clock().write(date, time); }, std::move(done));
            });
    }
};

class LinesSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("lines"); }

    void read(Device &device, const Progress &, ReadDone done) const override
    {
        readRecord(device, device.receiptLines(), &ReceiptLinesOps::received, ReceiptLinesOps::kReadCode,
                   std::move(done));
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        ReceiptLinesRecord record;
        QStringList texts;
        if (!ReceiptLinesRecord::fromJson(json, record, error, &texts))
            return false;
        return unencodableError(texts, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &, WriteDone done) const override
    {
        ReceiptLinesRecord record;
        QString error;
        QStringList texts;
        if (!ReceiptLinesRecord::fromJson(json, record, error, &texts))
            return later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, error));
        if (refuseUnencodable(device, texts, done))
            return;
        ReplyWaiter::run(
            device.link(), ReplyWaiter::kAnyReply, [&device, record] { return device.receiptLines().write(record); },
            std::move(done));
    }
};

// Watches one logo chain to its end; `done` gets the chain's result (a chain the tool stopped
// itself because a request could not be written counts as not sent).
ChainWaiter *watchLogoChain(Device &device, DeviceLink::Chain chain, std::function<void(const OpResult &)> done)
{
    auto *waiter = new ChainWaiter(device.link(), chain, &device);
    QObject::connect(waiter, &ChainWaiter::ended, waiter, [waiter, done = std::move(done)](const OpResult &result) {
        waiter->deleteLater();
        done(result.kind == OpResult::Kind::Invalid ? OpResult::failed(OpResult::Kind::NotSent, result.message)
                                                    : result);
    });
    return waiter;
}

class LogoSet : public DataSet {
public:
    static constexpr int kFrames = LogoBlock::kBlockCount + 1; // the blocks and the flag

    QString name() const override { return QStringLiteral("logo"); }
    int readFrames() const override { return kFrames; }
    int writeFrames() const override { return kFrames; }

    void read(Device &device, const Progress &progress, ReadDone done) const override
    {
        LogoOps &ops = device.logo();
        auto printed = std::make_shared<std::optional<bool>>();
        auto conns = std::make_shared<QList<QMetaObject::Connection>>();
        auto finish = [conns, done = std::move(done)](const OpResult &result, const QJsonValue &data) {
            for (const QMetaObject::Connection &c : *conns)
                QObject::disconnect(c);
            done(result, data);
        };
        conns->append(QObject::connect(&ops, &LogoOps::blockReceived, &device, [progress](int block) {
            if (progress)
                progress(block + 1, kFrames);
        }));
        conns->append(QObject::connect(&ops, &LogoOps::flagReceived, &device, [printed](bool on) { *printed = on; }));
        // The chain ends inside the last block's reply, before the flag request goes out: the wait
        // for the flag starts there.
        ChainWaiter *chain = watchLogoChain(
            device, DeviceLink::Chain::LogoRead, [&device, &ops, printed, progress, finish](const OpResult &chain) {
                if (!chain.ok())
                    return later(device, finish, chain, QJsonValue());
                ReplyWaiter::run(
                    device.link(), LogoOps::kReadFlag, [] { return true; },
                    [&ops, printed, progress, finish](const OpResult &flag) {
                        if (!flag.ok())
                            return finish(flag, QJsonValue());
                        if (progress)
                            progress(kFrames, kFrames);
                        finish(flag,
                               QJsonObject{{QLatin1String("printed"), printed->value_or(false)},
                                           {QLatin1String("rows"), QJsonArray::fromStringList(ops.received().rows())}});
                    });
            });
        // Another chain running: the link has said so, and nothing was sent.
        if (ops.read() == LogoOps::Start::Busy)
            chain->finish(OpResult::failed(OpResult::Kind::NotSent));
    }

    // Reads the JSON form: the bitmap and the flag; false with `error` when it does not fit.
    static bool parse(const QJsonValue &json, LogoBitmap &bitmap, bool &printed, QString &error)
    {
        JsonFields f(json, QStringLiteral("logo"));
        printed = f.boolean(QStringLiteral("printed"));
        const QJsonArray rowValues = f.array(QStringLiteral("rows"));
        if (f.ok()) {
            QStringList rows;
            for (const QJsonValue &v : rowValues)
                rows.append(v.isString() ? v.toString() : QString());
            int bad = 0;
            if (!LogoBitmap::fromRows(rows, bitmap, &bad))
                f.fail(QStringLiteral("rows[%1]").arg(bad), ToolText::logoRowExpected());
        }
        error = f.error();
        return f.ok();
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        LogoBitmap bitmap;
        bool printed = false;
        return parse(json, bitmap, printed, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &progress, WriteDone done) const override
    {
        LogoBitmap bitmap;
        bool printed = false;
        QString error;
        if (!parse(json, bitmap, printed, error))
            return later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, error));

        LogoOps &ops = device.logo();
        DeviceLink &link = device.link();
        auto conns = std::make_shared<QList<QMetaObject::Connection>>();
        auto finish = [conns, done = std::move(done)](const OpResult &result) {
            for (const QMetaObject::Connection &c : *conns)
                QObject::disconnect(c);
            done(result);
        };
        conns->append(QObject::connect(&ops, &LogoOps::blockSent, &device, [progress](int block) {
            if (progress)
                progress(block + 1, kFrames);
        }));
        // The flag goes out inside the device's 0x50 request; the wait for the device's answer to
        // it starts once that request has been dispatched, so the request itself does not count.
        auto flagSent = std::make_shared<bool>(false);
        conns->append(QObject::connect(&ops, &LogoOps::flagSent, &device, [flagSent] { *flagSent = true; }));
        conns->append(QObject::connect(&link, &DeviceLink::replyDispatched, &device,
                                       [&link, flagSent, progress, finish](uint8_t code) {
                                           if (code != LogoOps::kWriteFlag || !*flagSent)
                                               return;
                                           *flagSent = false;
                                           ReplyWaiter::run(
                                               link, ReplyWaiter::kAnyReply, [] { return true; },
                                               [progress, finish](const OpResult &r) {
                                                   if (r.ok() && progress)
                                                       progress(kFrames, kFrames);
                                                   finish(r);
                                               });
                                       }));
        ChainWaiter *chain = watchLogoChain(device, DeviceLink::Chain::LogoWrite, [&device, finish](const OpResult &r) {
            if (!r.ok())
                later(device, finish, r);
        });
        switch (ops.write(bitmap, printed)) {
        case LogoOps::Start::Started:
            if (progress)
                progress(1, kFrames);
            break;
        case LogoOps::Start::NotSent:
            break; // the chain has ended, and so has the wait
        case LogoOps::Start::Busy:
            chain->finish(OpResult::failed(OpResult::Kind::NotSent));
            break;
        }
    }
};

} // namespace

void addFiscalDataSets(std::vector<const DataSet *> &sets)
{
    static const FiscalSet fiscal;
    static const TaxpayerSet taxpayer;
    static const ClockSet clock;
    static const LinesSet lines;
    static const LogoSet logo;
    sets.push_back(&fiscal);
    sets.push_back(&taxpayer);
    sets.push_back(&clock);
    sets.push_back(&lines);
    sets.push_back(&logo);
}
