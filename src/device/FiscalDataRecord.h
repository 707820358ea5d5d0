#pragma once
// Wire form of the fiscal data: the 0x20 reply (serial numbers, tax number, fiscalisation) and the 0x25 write.

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QTime>

#include <cstdint>

struct FiscalDataRecord {
    // Data bytes of the read reply, counted from frame position 4 (positions 4..80).
    static constexpr int kReplySize = 77;
    // Data bytes of the write request (positions 4..57).
    static constexpr int kWriteSize = 54;
    static constexpr int kSerialWriteWidth = 20;
    static constexpr int kTaxNumberWriteWidth = 14;
    static constexpr uint8_t kNotFiscalised = 0x33;
    static constexpr uint8_t kNoTaxNumber = 0xFF;

    QString cashRegisterSerial; // edtEKAFP_Ser_No
    QString fiscalMemorySerial; // edtFP_Ser_No
    QString taxNumber;          // edtDZL_DanNo, empty when the device has none
    bool fiscalised = false;
    // Date and time of fiscalisation; meaningful only when fiscalised (fallbacks already applied).
    QDate date;
    QTime time;

    // Reads the reply data (kReplySize bytes from frame position 4).
    static FiscalDataRecord decode(const uint8_t *data);
    // The 54 data bytes of the write: two serial numbers of 20 bytes and the tax number of 14,
    // each cut to its field and followed by zero bytes.
    static QByteArray encodeWrite(const QString &cashRegisterSerial, const QString &fiscalMemorySerial,
                                  const QString &taxNumber);
    // The device takes a tax number of at least two characters.
    static bool taxNumberAcceptable(const QString &taxNumber) { return taxNumber.size() >= 2; }

    // The 16-character "dd.mm.yyyy hh:mm" field, digits read as (c - 0x30) in 16-bit arithmetic;
    // 1 January 2004 and 00:00:00 stand in for values that do not form a date or a time.
    static QDate fiscalisationDate(const uint8_t *field);
    static QTime fiscalisationTime(const uint8_t *field);
    static QDate fallbackDate() { return QDate(2004, 1, 1); }

    // JSON form: "cashRegisterSerial", "fiscalMemorySerial", "taxNumber" (empty when none),
    // "fiscalised" and "fiscalisedAt" ("2024-05-10T12:30:00", null when not fiscalised).
    QJsonObject toJson() const;
};
