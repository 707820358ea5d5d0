#pragma once
// Wire form of the receipt header/footer and customer-display lines with their switches (0x40, 0x45).

#include <QByteArray>
#include <QString>

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
};
