// Receipt and display lines on the wire: the 204-byte record, switch bytes and field widths.
#include "ReceiptLinesRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

TEST(ReceiptLinesRecord, EncodeLayoutAndSwitchBytes)
{
    ReceiptLinesRecord r;
    r.receipt = {"R1", "R2", "R3", "R4"};
    r.receiptOn = {true, false, true, false};
    r.display = {"W1", "W2", "C1", "C2"};
    r.displayOn = {false, true, false, true};
    const QByteArray b = r.encode();
    ASSERT_EQ(b.size(), 204);
    // Frame positions 4, 36, 68, 100 are data offsets 0, 32, 64, 96.
    EXPECT_EQ(b.mid(0, 32), QByteArray("R1") + QByteArray(30, '\0'));
    EXPECT_EQ(b.mid(96, 32), QByteArray("R4") + QByteArray(30, '\0'));
    EXPECT_EQ(b.mid(128, 4), QByteArray("\xCC\x33\xCC\x33"));
    // Display texts at positions 136, 153, 170, 187.
    EXPECT_EQ(b.mid(132, 17), QByteArray("W1") + QByteArray(15, '\0'));
    EXPECT_EQ(b.mid(149, 17), QByteArray("W2") + QByteArray(15, '\0'));
    EXPECT_EQ(b.mid(166, 17), QByteArray("C1") + QByteArray(15, '\0'));
    EXPECT_EQ(b.mid(183, 17), QByteArray("C2") + QByteArray(15, '\0'));
    EXPECT_EQ(b.mid(200, 4), QByteArray("\x33\xCC\x33\xCC"));
}

TEST(ReceiptLinesRecord, DisplayLineSendsOnlySeventeenCharacters)
{
    ReceiptLinesRecord r;
    r.display[0] = QString(31, 'D');
    r.display[1] = "next";
    const QByteArray b = r.encode();
    EXPECT_EQ(b.mid(132, 17), QByteArray(17, 'D'));
    EXPECT_EQ(b.mid(149, 5), QByteArray("next\0", 5));
    // A receipt line of 31 characters keeps one zero byte at the end of its field.
    r.receipt[0] = QString(31, QChar(0x0448)); // ш
    const QByteArray c = r.encode();
    EXPECT_EQ(c.mid(0, 31), QByteArray(31, char(0xF8)));
    EXPECT_EQ(c.at(31), '\0');
}

TEST(ReceiptLinesRecord, DecodeSwitchesAndWidths)
{
    std::array<uint8_t, 204> d{};
    std::memset(d.data(), 'r', 32); // 31 characters read, 32nd ignored
    std::memcpy(d.data() + 32, "two", 3);
    d[128] = 0xCC;
    d[129] = 0x33;
    d[130] = 0x00;
    d[131] = 0xFF;
    std::memset(d.data() + 132, 'w', 17); // a full display field
    std::memcpy(d.data() + 183, "closed", 6);
    d[200] = 0xFF;
    d[201] = 0xCC;
    d[202] = 0x33;
    d[203] = 0xCC;
    const ReceiptLinesRecord r = ReceiptLinesRecord::decode(d.data());
    EXPECT_EQ(r.receipt[0], QString(31, 'r'));
    EXPECT_EQ(r.receipt[1], "two");
    EXPECT_EQ(r.receipt[2], "");
    EXPECT_EQ(r.receiptOn, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(r.display[0], QString(17, 'w'));
    EXPECT_EQ(r.display[1], ""); // the previous full field does not run into it
    EXPECT_EQ(r.display[3], "closed");
    EXPECT_EQ(r.displayOn, (std::array<bool, 4>{false, true, false, true}));
}
