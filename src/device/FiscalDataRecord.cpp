#include "FiscalDataRecord.h"

#include "FieldEncodings.h"

namespace {
// Offsets within the reply data (frame position - 4).
constexpr int kCashSerial = 0; // 4..22
constexpr int kFmSerial = 20;  // 24..42
constexpr int kDateField = 40; // 44..59
constexpr int kTaxNumber = 57; // 61..78
constexpr int kState = 76;     // 80
constexpr int kSerialWidth = 19;
constexpr int kTaxNumberWidth = 18;

// One digit character as the device's firmware counts it: (c - 0x30), wrapping in 16 bits.
uint16_t digit(uint8_t c)
{
    return uint16_t(c - 0x30);
}

uint16_t twoDigits(const uint8_t *p)
{
    return uint16_t(10 * digit(p[0]) + digit(p[1]));
}
} // namespace

QDate FiscalDataRecord::fiscalisationDate(const uint8_t *f)
{
    const uint16_t day = twoDigits(f + 0);
    const uint16_t month = twoDigits(f + 3);
    const uint16_t year = uint16_t(1000 * digit(f[6]) + 100 * digit(f[7]) + 10 * digit(f[8]) + digit(f[9]));
    const QDate d(year, month, day);
    // Years run from 1 to 9999 as on the device's calendar (QDate would also take year 0 as 1 BC).
    return d.isValid() && year >= 1 && year <= 9999 ? d : fallbackDate();
}

QTime FiscalDataRecord::fiscalisationTime(const uint8_t *f)
{
    const uint16_t hour = twoDigits(f + 11);
    const uint16_t minute = twoDigits(f + 14);
    const QTime t(hour, minute, 0);
    return t.isValid() ? t : QTime(0, 0, 0);
}

FiscalDataRecord FiscalDataRecord::decode(const uint8_t *data)
{
    FiscalDataRecord r;
    r.cashRegisterSerial = ReadTextField(data + kCashSerial, kSerialWidth);
    r.fiscalMemorySerial = ReadTextField(data + kFmSerial, kSerialWidth);
    if (data[kTaxNumber] != kNoTaxNumber)
        r.taxNumber = ReadTextField(data + kTaxNumber, kTaxNumberWidth);
    r.fiscalised = data[kState] != kNotFiscalised;
    if (r.fiscalised) {
        r.date = fiscalisationDate(data + kDateField);
        r.time = fiscalisationTime(data + kDateField);
    }
    return r;
}

QByteArray FiscalDataRecord::encodeWrite(const QString &cashRegisterSerial, const QString &fiscalMemorySerial,
                                         const QString &taxNumber)
{
    QByteArray out(kWriteSize, '\0');
    const QByteArray cash = TextFieldBytes(cashRegisterSerial, kSerialWriteWidth);
    const QByteArray fm = TextFieldBytes(fiscalMemorySerial, kSerialWriteWidth);
    const QByteArray tax = TextFieldBytes(taxNumber, kTaxNumberWriteWidth);
    out.replace(0, cash.size(), cash);
    out.replace(kSerialWriteWidth, fm.size(), fm);
    out.replace(2 * kSerialWriteWidth, tax.size(), tax);
    return out;
}

QJsonObject FiscalDataRecord::toJson() const
{
    QJsonObject o;
    o.insert(QLatin1String("cashRegisterSerial"), cashRegisterSerial);
    o.insert(QLatin1String("fiscalMemorySerial"), fiscalMemorySerial);
    o.insert(QLatin1String("taxNumber"), taxNumber);
    o.insert(QLatin1String("fiscalised"), fiscalised);
    o.insert(QLatin1String("fiscalisedAt"),
             fiscalised ? QJsonValue(date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('T') +
                                     time.toString(QStringLiteral("HH:mm:ss")))
                        : QJsonValue(QJsonValue::Null));
    return o;
}
