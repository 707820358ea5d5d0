#include "TaxpayerRecord.h"

#include "FieldEncodings.h"
#include "JsonFields.h"

TaxpayerRecord TaxpayerRecord::decode(const uint8_t *data)
{
    TaxpayerRecord r;
    for (int i = 0; i < kFieldCount; ++i)
        r.fields[size_t(i)] = ReadTextField(data + i * kFieldWidth, kReadWidth);
    return r;
}

QByteArray TaxpayerRecord::encode() const
{
    QByteArray out(kSize, '\0');
    for (int i = 0; i < kFieldCount; ++i) {
        const QByteArray b = TextFieldBytes(fields[size_t(i)], kFieldWidth);
        out.replace(i * kFieldWidth, b.size(), b);
    }
    return out;
}

namespace {
// JSON keys in frame order.
const char *const kKeys[TaxpayerRecord::kFieldCount] = {"address", "trader", "premises", "telephone",
                                                        "statisticalNumber"};
// Screen order, for a JSON file a person reads.
constexpr int kJsonOrder[TaxpayerRecord::kFieldCount] = {TaxpayerRecord::PrTel, TaxpayerRecord::PrName,
                                                         TaxpayerRecord::DzlName, TaxpayerRecord::DzlAddr,
                                                         TaxpayerRecord::DzlBulstat};
} // namespace

QJsonObject TaxpayerRecord::toJson() const
{
    QJsonObject o;
    for (int i : kJsonOrder)
        o.insert(QLatin1String(kKeys[i]), fields[size_t(i)]);
    return o;
}

bool TaxpayerRecord::fromJson(const QJsonValue &json, TaxpayerRecord &record, QString &error, QStringList *texts)
{
    JsonFields f(json, QStringLiteral("taxpayer"));
    for (int i : kJsonOrder)
        record.fields[size_t(i)] = f.string(QLatin1String(kKeys[i]), kReadWidth);
    error = f.error();
    if (texts)
        *texts = f.texts();
    return f.ok();
}
