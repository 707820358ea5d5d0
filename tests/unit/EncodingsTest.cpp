// Field encodings, Windows-1251 text and the device's error texts.
#include "Cp1251.h"
#include "DeviceErrors.h"
#include "FieldEncodings.h"

#include <gtest/gtest.h>

namespace {
QByteArray arr(const auto &a)
{
    return QByteArray(reinterpret_cast<const char *>(a.data()), qsizetype(a.size()));
}
QString unpack(std::initializer_list<int> b)
{
    uint8_t raw[7];
    int i = 0;
    for (int v : b)
        raw[i++] = uint8_t(v);
    return UnpackBcdDigits(raw);
}
} // namespace

TEST(Encodings, PackDigitsBcd)
{
    EXPECT_EQ(arr(PackDigitsBcd("")).toHex(), "ffffffffffffff");
    EXPECT_EQ(arr(PackDigitsBcd("860")).toHex(), "860fffffffffff");
    EXPECT_EQ(arr(PackDigitsBcd("123")).toHex(), "123fffffffffff");
    EXPECT_EQ(arr(PackDigitsBcd("12345678901234")).toHex(), "12345678901234");
    EXPECT_EQ(arr(PackDigitsBcd("123456789012345678")).toHex(), "12345678901234"); // cut to 14
    // Any character gives its low four bits: blank 0, '?' 0xF, 'A' 1.
    EXPECT_EQ(arr(PackDigitsBcd("1 ?A")).toHex(), "10f1ffffffffff");
}

TEST(Encodings, UnpackBcdDigits)
{
    EXPECT_EQ(unpack({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "");
    EXPECT_EQ(unpack({0x86, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "860");
    EXPECT_EQ(unpack({0xA1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "1");
    EXPECT_EQ(unpack({0x1F, 0x23, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "123");
    EXPECT_EQ(unpack({0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}), "12345678901234");
    for (const char *digits : {"0", "00123", "98765432109876", "5"}) {
        const auto packed = PackDigitsBcd(digits);
        EXPECT_EQ(UnpackBcdDigits(packed.data()), digits);
    }
}

TEST(Encodings, FactoryNumberBytes)
{
    EXPECT_EQ(arr(FabrickiBrojToBCD("1234")).toHex(' '), "00 12 34");
    EXPECT_EQ(arr(FabrickiBrojToBCD("")).toHex(' '), "00 00 00");
    EXPECT_EQ(arr(FabrickiBrojToBCD("12 456")).toHex(' '), "12 04 56");
    EXPECT_EQ(arr(FabrickiBrojToBCD("123456")).toHex(' '), "12 34 56");
    EXPECT_EQ(arr(FabrickiBrojToBCD("12345678")).toHex(' '), "12 34 56");
}

TEST(Encodings, SwitchByte)
{
    EXPECT_EQ(SwitchByte(true), 0xCC);
    EXPECT_EQ(SwitchByte(false), 0x33);
    EXPECT_TRUE(SwitchIsOn(0xCC));
    for (int b : {0x33, 0x00, 0xFF, 0xCD})
        EXPECT_FALSE(SwitchIsOn(uint8_t(b))) << b;
}

TEST(Encodings, Windows1251TextFields)
{
    // Cyrillic, the euro sign and "ё" are in the code page; other characters become one '?' each.
    EXPECT_EQ(Cp1251::encode("Ђорђе €ё").toHex(' '), "80 ee f0 90 e5 20 88 b8");
    EXPECT_EQ(Cp1251::encode("a中b").toHex(' '), "61 3f 62");
    EXPECT_EQ(Cp1251::encode(QString::fromUtf8("x\xF0\x9F\x98\x80y")).toHex(' '), "78 3f 79"); // outside the BMP
    EXPECT_EQ(Cp1251::encode("ω").toHex(' '), "3f");
    EXPECT_EQ(Cp1251::decode(QByteArray::fromHex("80eef090e5")), "Ђорђе");

    EXPECT_EQ(TextFieldBytes("Трговина доо", 8), Cp1251::encode("Трговина"));
    const uint8_t field[] = {0xCF, 0xE5, 0xF0, 0xE0, 0x00, 0x41, 0x42};
    EXPECT_EQ(ReadTextField(field, 7), "Пера");
    EXPECT_EQ(ReadTextField(field, 3), "Пер");
    const uint8_t blanks[] = {0x20, 0x41, 0x20};
    EXPECT_EQ(ReadTextField(blanks, 3), " A "); // blanks are not trimmed
}

TEST(Encodings, DeviceStatusWordTexts)
{
    EXPECT_EQ(DescribeDeviceError(0, 0, 0, 0), "");
    EXPECT_EQ(DescribeDeviceError(0x00, 0x00, 0x00, 0x01), "/ Greska u fiskalnoj memoriji(0)");
    EXPECT_EQ(DescribeDeviceError(0x80, 0x00, 0x00, 0x00),
              "/ Prekoracenje u broju razlicitih artikala u bazi artikala(31)");
    EXPECT_EQ(DescribeDeviceError(0x00, 0x00, 0x01, 0x08),
              "/ Nema papira u fiskalnom stampacu(3)/ Pogresna komanda(8)");
    EXPECT_EQ(DescribeDeviceError(0x00, 0x00, 0x00, 0x80), "/ Rezervisano(7)");
    const QString all = DescribeDeviceError(0xFF, 0xFF, 0xFF, 0xFF);
    EXPECT_EQ(all.count(QLatin1Char('/')), 32 + 2); // 32 entries and the slashes of errors 9 and 16
    qsizetype pos = 0;
    for (int n = 0; n < 32; ++n) {
        const qsizetype at = all.indexOf(QString("(%1)").arg(n), pos);
        ASSERT_GE(at, pos) << n;
        pos = at;
    }
    EXPECT_TRUE(all.startsWith("/ Greska u fiskalnoj memoriji(0)/ Greska u vremenu(1)"));
    EXPECT_TRUE(all.endsWith("(30)/ Prekoracenje u broju razlicitih artikala u bazi artikala(31)"));
}

TEST(Encodings, ErrorReplyCodeTexts)
{
    EXPECT_EQ(DeviceErrorCodeText(17), "Сервисни џампер није стављен");
    EXPECT_EQ(DeviceErrorCodeText(10), "Грешка сата");
    EXPECT_EQ(DeviceErrorCodeText(50), "Брисанје базе - није дозвољено");
    EXPECT_EQ(DeviceErrorCodeText(70), "Нове пореске стопе имају исту вредност као и старе");
    for (int code : {0, 19, 255, 71})
        EXPECT_EQ(DeviceErrorCodeText(code), "Покушајте поново !!!") << code;
}
