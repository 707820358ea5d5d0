#pragma once
// One article as it travels to and from the device: the 50-byte record and the grid texts it maps to.

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class ArticleRecord {
public:
    static constexpr int kSize = 50;
    // Offsets within the record.
    static constexpr int kNumberOffset = 0;
    static constexpr int kNameOffset = 2;
    static constexpr int kDepartmentOffset = 35;
    static constexpr int kPriceOffset = 36;
    static constexpr int kReservedOffset = 40;
    static constexpr int kTaxOffset = 41;
    static constexpr int kBarcodeOffset = 42;
    static constexpr int kLastOffset = 49;
    // The name field has room for 32 characters and a terminator.
    static constexpr int kNameField = 33;
    static constexpr int kNameMaxChars = 32;

    uint16_t number = 0;
    // Windows-1251 bytes of the name as they stand in the record (no terminator).
    QByteArray name;
    // Department number minus 1, as the device stores it.
    uint8_t department = 0;
    // Price in hundredths of the currency unit.
    uint32_t price = 0;
    // Index 0..8 into the tax-group letter table.
    uint8_t taxIndex = 0;
    std::array<uint8_t, 7> barcode{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

    // Writes the 50 bytes; the name is cut to 32 bytes so that it always ends in a zero byte.
    void encode(uint8_t *out) const;
    QByteArray encode() const;
    // Reads 50 bytes: the name up to its first zero byte (at most 33 bytes).
    static ArticleRecord decode(const uint8_t *bytes);

    // Builds the record of grid row `number` from its cell texts. The department must be a whole
    // number (false otherwise, the record is then incomplete); a price that is no number counts as 0;
    // a tax text whose first character is no tax letter counts as index 0.
    static bool fromCells(int number, const QString &name, const QString &barcode, const QString &department,
                          const QString &price, const QString &tax, const QLocale &locale, ArticleRecord &out);
    // A department text that the write accepts: a whole decimal number.
    static bool departmentFromText(const QString &text, uint8_t &out);

    // The texts of the grid cells filled from this record.
    QString nameText() const;    // bytes below 0x20 are left out
    QString barcodeText() const; // digits only
    QString departmentText() const;
    QString priceText(const QLocale &locale = QLocale()) const;
    QString taxText() const; // empty for an index above 8

    // The most digits the barcode field holds.
    static constexpr int kBarcodeDigits = 14;
    // The record of a row as the window's table starts: no name, no barcode, department 1,
    // price 0, tax group А.
    static ArticleRecord fresh(int number);
    // True when the window would show this record as a fresh row.
    bool isFresh() const;

    // JSON form: {"number", "name", "barcode", "department", "price" ("12.50", always with '.'
    // and two decimals), "taxGroup" (the letter)}.
    QJsonObject toJson() const;
    // Reads that form; `where` names the entry for messages ("articles[3]"). Only "number" is
    // required, the other fields default to a fresh row's. False, with the first problem in
    // `error`, for a missing number, a field out of its limits, an unknown key or a name with
    // characters Windows-1251 cannot hold.
    static bool fromJson(const QJsonValue &json, const QString &where, ArticleRecord &out, QString &error);
    // The hundredths a JSON price stands for: digits, then at most two decimals after '.', at
    // most 9999999.99; no value for anything else.
    static std::optional<uint32_t> priceFromJson(const QString &text);
    static QString priceToJson(uint32_t hundredths);
};
