#pragma once
// Wire form of the receipt header/footer and customer-display lines with their switches (0x40, 0x45).

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

struct ReceiptLinesRecord {
    static constexpr int kSize = 204; // data bytes, frame positions 4..207
    static constexpr int kReceiptWidth = 32;
    static constexpr int kReceiptReadWidth = 31;
    static constexpr int kDisplayWidth = 17;

    // Receipt lines 1..4: two header lines, then two footer lines.
    std::array<QString, 4> receipt;
    std::array<bool, 4> receiptOn{};
    // Display lines in frame order: working first, working second, closed first, closed second.
    std::array<QString, 4> display;
    std::array<bool, 4> displayOn{};

    static ReceiptLinesRecord decode(const uint8_t *data);
    // Receipt texts cut to their 32-byte field, display texts to 17 bytes, switches 0xCC / 0x33.
    QByteArray encode() const;

    // Offsets within the data (frame position - 4).
    static constexpr int receiptOffset(int i) { return i * kReceiptWidth; }
    static constexpr int receiptSwitchOffset(int i) { return 128 + i; }
    static constexpr int displayOffset(int i) { return 132 + i * kDisplayWidth; }
    static constexpr int displaySwitchOffset(int i) { return 200 + i; }

    // JSON form: "header" and "footer" (receipt lines 1, 2 and 3, 4), "displayWorking" and
    // "displayClosed" (display lines in frame order), each two {"text": ..., "on": ...}; texts at
    // most 31 characters on the receipt and 17 on the display, as a read gives them.
    QJsonObject toJson() const;
    // Reads the JSON form; false, with `error` saying what and where, when it does not fit.
    static bool fromJson(const QJsonValue &json, ReceiptLinesRecord &record, QString &error,
                         QStringList *texts = nullptr);
};
