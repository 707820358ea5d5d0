#include "TaxpayerRecord.h"

#include "FieldEncodings.h"

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
