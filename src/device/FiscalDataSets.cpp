#include "DataSet.h"

#include "Cp1251.h"
#include "Device.h"
#include "DeviceLink.h"
#include "ReplyWaiter.h"
#include "TaxpayerOps.h"
#include "ToolText.h"
#include "UiText.h"

#include <QTimer>

#include <memory>

namespace {

// Ends a run from the event loop, as every result of a data set is delivered.
template <typename Done, typename... Args> void later(Device &device, Done done, Args... args)
{
    QTimer::singleShot(0, &device, [done = std::move(done), args...] { done(args...); });
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

} // namespace

void addFiscalDataSets(std::vector<const DataSet *> &sets)
{
    static const TaxpayerSet taxpayer;
    sets.push_back(&taxpayer);
}
