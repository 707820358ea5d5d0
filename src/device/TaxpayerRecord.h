#pragma once
// Wire form of the taxpayer data: five 32-byte text fields in frame order (0x30 reply, 0x35 write).

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

struct TaxpayerRecord {
    static constexpr int kFieldCount = 5;
    static constexpr int kFieldWidth = 32;
    // A reply field is read up to its 31st byte; the 32nd is not part of the text.
    static constexpr int kReadWidth = 31;
    static constexpr int kSize = kFieldCount * kFieldWidth; // 160 data bytes, positions 4..163

    // Frame order: 1 edtPr_Name, 2 edtDZL_Addr, 3 edtPr_Tel, 4 edtDZL_Name, 5 edtDZL_Bulstat.
    enum Field { PrName = 0, DzlAddr = 1, PrTel = 2, DzlName = 3, DzlBulstat = 4 };
    std::array<QString, kFieldCount> fields;

    // Reads kSize bytes of reply data (from frame position 4).
    static TaxpayerRecord decode(const uint8_t *data);
    // The 160 data bytes of the write, each text cut to its field and followed by zero bytes.
    QByteArray encode() const;

    // JSON form: "premises", "address", "telephone", "trader", "statisticalNumber".
    QJsonObject toJson() const;
    // Reads the JSON form; false, with `error` saying what and where, when it does not fit.
    static bool fromJson(const QJsonValue &json, TaxpayerRecord &record, QString &error, QStringList *texts = nullptr);
};
