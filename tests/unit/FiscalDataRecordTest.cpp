// Fiscal data on the wire: the 0x20 reply fields, the date characters and the 0x25 write layout.
#include "FiscalDataRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {
// Reply data from frame position 4 on (positions 4..80).
struct Reply {
    std::array<uint8_t, FiscalDataRecord::kReplySize> d{};
    // Writes `text` at frame position `pos`.
    void put(int pos, const QByteArray &text) { std::memcpy(d.data() + pos - 4, text.constData(), text.size()); }
    void set(int pos, uint8_t b) { d[size_t(pos - 4)] = b; }
};

Reply fiscalisedReply(const char *dateText)
{
    Reply r;
    r.put(4, "QV00012345");
    r.put(24, "FM0000067890");
    r.put(44, dateText);
    r.put(61, "123456789");
    r.set(80, 0xCC);
    return r;
}
} // namespace

TEST(FiscalDataRecord, DecodesFiscalisedReply)
{
    const Reply r = fiscalisedReply("07.03.2024 14:25");
    const FiscalDataRecord f = FiscalDataRecord::decode(r.d.data());
    EXPECT_EQ(f.cashRegisterSerial, "QV00012345");
    EXPECT_EQ(f.fiscalMemorySerial, "FM0000067890");
    EXPECT_EQ(f.taxNumber, "123456789");
    EXPECT_TRUE(f.fiscalised);
    EXPECT_EQ(f.date, QDate(2024, 3, 7));
    EXPECT_EQ(f.time, QTime(14, 25, 0));
}

TEST(FiscalDataRecord, StateAndMissingTaxNumber)
{
    Reply r = fiscalisedReply("07.03.2024 14:25");
    r.set(80, 0x33);
    r.set(61, 0xFF);
    const FiscalDataRecord f = FiscalDataRecord::decode(r.d.data());
    EXPECT_FALSE(f.fiscalised);
    EXPECT_EQ(f.taxNumber, "");
    // Only 0x33 means not fiscalised.
    r.set(80, 0x00);
    EXPECT_TRUE(FiscalDataRecord::decode(r.d.data()).fiscalised);
}

TEST(FiscalDataRecord, FieldsWithoutZeroByteKeepTheirFullWidth)
{
    Reply r;
    r.put(4, QByteArray(19, 'A') + 'X'); // position 23 is not part of the field
    r.put(24, QByteArray(19, 'B') + 'Y');
    r.put(61, QByteArray(18, '7') + 'Z');
    const FiscalDataRecord f = FiscalDataRecord::decode(r.d.data());
    EXPECT_EQ(f.cashRegisterSerial, QString(19, 'A'));
    EXPECT_EQ(f.fiscalMemorySerial, QString(19, 'B'));
    EXPECT_EQ(f.taxNumber, QString(18, '7'));
}

TEST(FiscalDataRecord, DateAndTimeFallbacks)
{
    const auto decode = [](const char *text) { return FiscalDataRecord::decode(fiscalisedReply(text).d.data()); };
    EXPECT_EQ(decode("31.02.2024 10:10").date, QDate(2004, 1, 1)); // no 31st of February
    EXPECT_EQ(decode("ab.cd.efgh 10:10").date, QDate(2004, 1, 1));
    EXPECT_EQ(decode("01.01.0000 10:10").date, QDate(2004, 1, 1)); // no year 0
    EXPECT_EQ(decode("29.02.2024 10:10").date, QDate(2024, 2, 29));
    EXPECT_EQ(decode("01.01.2024 24:00").time, QTime(0, 0, 0));
    EXPECT_EQ(decode("01.01.2024 10:60").time, QTime(0, 0, 0));
    EXPECT_EQ(decode("01.01.2024 23:59").time, QTime(23, 59, 0));
    // Separators are not read.
    EXPECT_EQ(decode("05x06x2023x07x08").date, QDate(2023, 6, 5));
    EXPECT_EQ(decode("05x06x2023x07x08").time, QTime(7, 8, 0));
}

TEST(FiscalDataRecord, DateDigitsUse16BitArithmetic)
{
    // 's' counts as 0x73 - 0x30 = 67; 67000 + 500 + 60 + 0 wraps in 16 bits to 2024.
    EXPECT_EQ(FiscalDataRecord::decode(fiscalisedReply("01.01.s560 00:00").d.data()).date, QDate(2024, 1, 1));
    // '/' counts as 0x2F - 0x30, which wraps to 65535: no valid day.
    EXPECT_EQ(FiscalDataRecord::decode(fiscalisedReply("/1.01.2024 00:00").d.data()).date, QDate(2004, 1, 1));
}

TEST(FiscalDataRecord, WriteLayoutCutsEachFieldToItsWidth)
{
    const QByteArray w = FiscalDataRecord::encodeWrite("QV00012345", "FM0000067890", "123456789");
    ASSERT_EQ(w.size(), 54);
    EXPECT_EQ(w.left(20), QByteArray("QV00012345") + QByteArray(10, '\0'));
    EXPECT_EQ(w.mid(20, 20), QByteArray("FM0000067890") + QByteArray(8, '\0'));
    EXPECT_EQ(w.mid(40, 14), QByteArray("123456789") + QByteArray(5, '\0'));

    // An 18-character tax number (possible only from a reply) is cut to 14; serials to 20.
    const QByteArray cut = FiscalDataRecord::encodeWrite(QString(25, 'S'), QString(19, 'F'), "123456789012345678");
    ASSERT_EQ(cut.size(), 54);
    EXPECT_EQ(cut.left(20), QByteArray(20, 'S'));
    EXPECT_EQ(cut.mid(20, 20), QByteArray(19, 'F') + '\0');
    EXPECT_EQ(cut.mid(40, 14), QByteArray("12345678901234"));
}

TEST(FiscalDataRecord, TextWindows1251CannotHoldTravelsAsQuestionMarks)
{
    const QByteArray w = FiscalDataRecord::encodeWrite("", "", QStringLiteral("12ß中4"));
    EXPECT_EQ(w.mid(40, 6), QByteArray("12??4\0", 6));
}

TEST(FiscalDataRecord, TaxNumberNeedsTwoCharacters)
{
    EXPECT_FALSE(FiscalDataRecord::taxNumberAcceptable(""));
    EXPECT_FALSE(FiscalDataRecord::taxNumberAcceptable("1"));
    EXPECT_TRUE(FiscalDataRecord::taxNumberAcceptable("12"));
}

TEST(FiscalDataRecord, EveryUnmappableCharacterIsOneQuestionMark)
{
    // Characters outside Windows-1251 of several kinds: Latin, CJK, an emoji (two UTF-16 units), a symbol.
    const QByteArray w = FiscalDataRecord::encodeWrite("", "", QStringLiteral("Āß中😀★ж"));
    EXPECT_EQ(w.mid(40, 7), QByteArray("?????\xE6\0", 7));
}
