// Taxpayer data on the wire: five 32-byte fields in frame order, 31 bytes read of each.
#include "TaxpayerRecord.h"
#include "Cp1251.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

TEST(TaxpayerRecord, EncodesFieldsInFrameOrder)
{
    TaxpayerRecord r;
    r.fields[TaxpayerRecord::PrName] = "Addr";
    r.fields[TaxpayerRecord::DzlAddr] = "Trader";
    r.fields[TaxpayerRecord::PrTel] = "Shop";
    r.fields[TaxpayerRecord::DzlName] = "011";
    r.fields[TaxpayerRecord::DzlBulstat] = "555";
    const QByteArray b = r.encode();
    ASSERT_EQ(b.size(), 160);
    EXPECT_EQ(b.mid(0, 32), QByteArray("Addr") + QByteArray(28, '\0'));
    EXPECT_EQ(b.mid(32, 32), QByteArray("Trader") + QByteArray(26, '\0'));
    EXPECT_EQ(b.mid(64, 32), QByteArray("Shop") + QByteArray(28, '\0'));
    EXPECT_EQ(b.mid(96, 32), QByteArray("011") + QByteArray(29, '\0'));
    EXPECT_EQ(b.mid(128, 32), QByteArray("555") + QByteArray(29, '\0'));
}

TEST(TaxpayerRecord, FieldLengthsAndCodePage)
{
    TaxpayerRecord r;
    r.fields[0] = QString(31, QChar(0x0416)); // Ж
    r.fields[1] = QString(40, 'x');           // longer than the field: cut, never into field 3
    r.fields[4] = QStringLiteral("ß1");
    const QByteArray b = r.encode();
    ASSERT_EQ(b.size(), 160);
    EXPECT_EQ(b.mid(0, 31), QByteArray(31, char(0xC6)));
    EXPECT_EQ(b.at(31), '\0');
    EXPECT_EQ(b.mid(32, 32), QByteArray(32, 'x'));
    EXPECT_EQ(b.at(64), '\0');
    EXPECT_EQ(b.mid(128, 3), QByteArray("?1\0", 3));
}

TEST(TaxpayerRecord, DecodeReadsThirtyOneBytesOfEachField)
{
    std::array<uint8_t, 160> d{};
    std::memset(d.data(), 'a', 32);       // 32nd byte not zero: ignored
    std::memset(d.data() + 32, 0xFF, 31); // 0xFF is the letter я
    std::memcpy(d.data() + 64, "Shop\0junk", 9);
    d[96] = 0; // empty
    std::memcpy(d.data() + 128, "1234", 4);
    const TaxpayerRecord r = TaxpayerRecord::decode(d.data());
    EXPECT_EQ(r.fields[0], QString(31, 'a'));
    EXPECT_EQ(r.fields[1], QString(31, QChar(0x044F)));
    EXPECT_EQ(r.fields[2], "Shop");
    EXPECT_EQ(r.fields[3], "");
    EXPECT_EQ(r.fields[4], "1234");
}

TEST(TaxpayerRecord, RoundTripOfCyrillicText)
{
    TaxpayerRecord r;
    r.fields[0] = QStringLiteral("Кнеза Михаила 12, Београд");
    r.fields[4] = QStringLiteral("08765432");
    const QByteArray b = r.encode();
    const TaxpayerRecord back = TaxpayerRecord::decode(reinterpret_cast<const uint8_t *>(b.constData()));
    EXPECT_EQ(back.fields, r.fields);
}
