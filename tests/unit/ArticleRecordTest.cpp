// The 50-byte article record in both directions, and the cashier name fields.
#include "ArticleRecord.h"
#include "ArticleModel.h"
#include "ArticleTable.h"
#include "CashierRecord.h"
#include "Cp1251.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

namespace {
const QLocale kPoint = QLocale::c();
const QLocale kComma = QLocale(QLocale::German, QLocale::Germany);

QByteArray encodeCells(int number, const QString &name, const QString &barcode, const QString &department,
                       const QString &price, const QString &tax, const QLocale &locale = kPoint)
{
    ArticleRecord r;
    EXPECT_TRUE(ArticleRecord::fromCells(number, name, barcode, department, price, tax, locale, r));
    return r.encode();
}

uint8_t at(const QByteArray &b, int offset)
{
    return uint8_t(b.at(offset));
}

ArticleRecord decodeBytes(const QByteArray &b)
{
    return ArticleRecord::decode(reinterpret_cast<const uint8_t *>(b.constData()));
}
} // namespace

TEST(ArticleRecord, EveryOffsetOfARecordFromCells)
{
    const QByteArray b = encodeCells(0x1234, QStringLiteral("Хлеб"), "860", "3", "12.34", QStringLiteral("Ђ"));
    ASSERT_EQ(b.size(), 50);
    EXPECT_EQ(at(b, 0), 0x34);
    EXPECT_EQ(at(b, 1), 0x12);
    EXPECT_EQ(b.mid(2, 4).toHex(), "d5ebe5e1"); // Хлеб in Windows-1251
    EXPECT_EQ(b.mid(6, 29), QByteArray(29, '\0'));
    EXPECT_EQ(at(b, 35), 2);
    EXPECT_EQ(b.mid(36, 4).toHex(), "d2040000"); // 1234 little-endian
    EXPECT_EQ(at(b, 40), 0x00);
    EXPECT_EQ(at(b, 41), 3);
    EXPECT_EQ(b.mid(42, 7).toHex(), "860fffffffffff");
    EXPECT_EQ(at(b, 49), 0xFF);
}

TEST(ArticleRecord, EveryOffsetOfACellsFromRecord)
{
    QByteArray b(50, '\0');
    b[0] = char(0x60), b[1] = char(0xEA); // 60000
    b.replace(2, 4, Cp1251::encode(QStringLiteral("Мл")) + "k1");
    b[35] = 9;
    b.replace(36, 4, QByteArray::fromHex("39300000")); // 12345
    b[40] = char(0x77);                                // reserved bytes are ignored
    b[41] = 8;
    b.replace(42, 7, QByteArray::fromHex("1f23ffffffffff"));
    b[49] = char(0x11);
    const ArticleRecord r = decodeBytes(b);
    EXPECT_EQ(r.number, 60000);
    EXPECT_EQ(r.nameText(), QStringLiteral("Млk1"));
    EXPECT_EQ(r.departmentText(), "10");
    EXPECT_EQ(r.priceText(kPoint), "123.45");
    EXPECT_EQ(r.priceText(kComma), "123,45");
    EXPECT_EQ(r.taxText(), QStringLiteral("К"));
    EXPECT_EQ(r.barcodeText(), "123"); // the 0xF nibble inside is skipped
}

TEST(ArticleRecord, PricesTravelExactly)
{
    auto price = [](const QString &text, const QLocale &locale = kPoint) {
        const QByteArray b = encodeCells(1, "", "", "1", text, "", locale);
        return uint32_t(at(b, 36)) | uint32_t(at(b, 37)) << 8 | uint32_t(at(b, 38)) << 16 | uint32_t(at(b, 39)) << 24;
    };
    EXPECT_EQ(price("0.29"), 29u); // 0.29 * 100 in floating point is 28.999...
    EXPECT_EQ(price("8.53"), 853u);
    EXPECT_EQ(price("0.5"), 50u);
    EXPECT_EQ(price("0,5", kComma), 50u);
    EXPECT_EQ(price("12.345"), 1234u); // truncated toward zero
    EXPECT_EQ(price("9999999.99"), 999999999u);
    EXPECT_EQ(price("abc"), 0u); // no number: sent as 0
    EXPECT_EQ(price(""), 0u);
    EXPECT_EQ(price("0.5", kComma), 0u); // a full stop is no decimal separator there
    EXPECT_EQ(price("-1"), 0xFFFFFF9Cu); // the low 32 bits of -100

    auto shown = [](uint32_t v, const QLocale &locale = kPoint) {
        ArticleRecord r;
        r.price = v;
        return r.priceText(locale);
    };
    EXPECT_EQ(shown(12345), "123.45");
    EXPECT_EQ(shown(150), "1.5");
    EXPECT_EQ(shown(100), "1");
    EXPECT_EQ(shown(0), "0");
    EXPECT_EQ(shown(5), "0.05");
    EXPECT_EQ(shown(0xFFFFFFFFu), "42949672.95"); // FF FF FF FF: no sign
    EXPECT_EQ(shown(150, kComma), "1,5");
}

TEST(ArticleRecord, DepartmentIsAWholeNumberMinusOne)
{
    auto department = [](const QString &text) { return at(encodeCells(1, "", "", text, "0", ""), 35); };
    EXPECT_EQ(department("1"), 0);
    EXPECT_EQ(department("10"), 9);
    EXPECT_EQ(department("0"), 0xFF);
    EXPECT_EQ(department("11"), 10);
    EXPECT_EQ(department("257"), 0); // low 8 bits
    EXPECT_EQ(department("-1"), 0xFE);

    ArticleRecord r;
    for (const char *bad : {"", "x", "1.5", "2a", "99999999999"})
        EXPECT_FALSE(ArticleRecord::fromCells(1, "", "", bad, "0", "", kPoint, r)) << bad;

    ArticleRecord read;
    for (int d : {0, 9, 10, 255}) {
        read.department = uint8_t(d);
        EXPECT_EQ(read.departmentText(), QString::number(d + 1));
    }
}

TEST(ArticleRecord, TaxIndexBothWays)
{
    auto tax = [](const QString &text) { return at(encodeCells(1, "", "", "1", "0", text), 41); };
    EXPECT_EQ(tax(QStringLiteral("А")), 0);
    EXPECT_EQ(tax(QStringLiteral("Ђ")), 3);
    EXPECT_EQ(tax(QStringLiteral("К")), 8);
    EXPECT_EQ(tax(""), 0);                   // empty cell
    EXPECT_EQ(tax(QStringLiteral("Б")), 0);  // not a tax letter
    EXPECT_EQ(tax(QStringLiteral("Жx")), 5); // the first character counts
    ArticleRecord r;
    r.taxIndex = 3;
    EXPECT_EQ(r.taxText(), QStringLiteral("Ђ"));
    for (int bad : {9, 0x80, 0xFF}) {
        r.taxIndex = uint8_t(bad);
        EXPECT_EQ(r.taxText(), "") << bad; // no letter for it: an empty cell, not a stray character
    }
}

TEST(ArticleRecord, Barcodes)
{
    EXPECT_EQ(encodeCells(1, "", "", "1", "0", "").mid(42, 7), QByteArray(7, char(0xFF)));
    EXPECT_EQ(encodeCells(1, "", "12345678901234", "1", "0", "").mid(42, 7).toHex(), "12345678901234");
    EXPECT_EQ(encodeCells(1, "", "8600000000017", "1", "0", "").mid(42, 7).toHex(), "8600000000017f");
    QByteArray b = encodeCells(1, "", "8600000000017", "1", "0", "");
    EXPECT_EQ(decodeBytes(b).barcodeText(), "8600000000017");
    b.replace(42, 7, QByteArray(7, char(0xFF)));
    EXPECT_EQ(decodeBytes(b).barcodeText(), "");
}

TEST(ArticleRecord, LongNamesAreCutSoTheNextFieldsSurvive)
{
    const QString name33 = QString(33, QChar(u'Ш'));
    const QByteArray b = encodeCells(7, name33, "", "4", "1.5", QStringLiteral("Г"));
    EXPECT_EQ(b.mid(2, 32), QByteArray(32, char(0xD8)));
    EXPECT_EQ(at(b, 34), 0); // the terminator
    EXPECT_EQ(at(b, 35), 3);
    EXPECT_EQ(at(b, 36), 150);
    EXPECT_EQ(at(b, 41), 1);
    EXPECT_EQ(decodeBytes(b).nameText(), name33.left(32));

    // An ASCII name of exactly 32 characters keeps every character.
    const QString name32 = QString(32, QChar(u'z'));
    EXPECT_EQ(decodeBytes(encodeCells(7, name32, "", "1", "0", "")).nameText(), name32);
}

TEST(ArticleRecord, NamesReadFromTheDevice)
{
    QByteArray b = ArticleRecord().encode();
    // 33 non-zero bytes (the device filled the terminator too) give 33 characters.
    b.replace(2, 33, QByteArray(33, 'q'));
    EXPECT_EQ(decodeBytes(b).nameText(), QString(33, QChar(u'q')));
    // Control bytes such as CR LF are left out.
    const QByteArray withControls = QByteArray("Ab\r\ncd\t") + char(0xC6);
    b.replace(2, 33, withControls + QByteArray(33 - withControls.size(), '\0'));
    EXPECT_EQ(decodeBytes(b).nameText(), QStringLiteral("AbcdЖ"));
    // The name ends at the first zero byte.
    b.replace(2, 6, QByteArray("xy\0zz\0", 6));
    EXPECT_EQ(decodeBytes(b).nameText(), "xy");
}

TEST(ArticleRecord, CellsSurviveTheRoundTrip)
{
    struct Row {
        QString name, barcode, department, price, tax;
    };
    const Row rows[] = {{QStringLiteral("Јогурт 1л ђ"), "8606012345678", "10", "123.45", QStringLiteral("Ј")},
                        {"", "", "1", "0", QStringLiteral("А")},
                        {"Plain name", "1", "5", "0.05", QStringLiteral("Е")},
                        {QStringLiteral("Чоколада"), "12345678901234", "7", "42949672.95", QStringLiteral("К")}};
    for (const Row &row : rows) {
        ArticleRecord r;
        ASSERT_TRUE(ArticleRecord::fromCells(42, row.name, row.barcode, row.department, row.price, row.tax, kPoint, r));
        const ArticleRecord back = decodeBytes(r.encode());
        EXPECT_EQ(back.number, 42);
        EXPECT_EQ(back.nameText(), row.name);
        EXPECT_EQ(back.barcodeText(), row.barcode);
        EXPECT_EQ(back.departmentText(), row.department);
        EXPECT_EQ(back.priceText(kPoint), row.price);
        EXPECT_EQ(back.taxText(), row.tax);
    }
}

TEST(ArticleRecord, FreshRowIsTheWindowsStartUpRow)
{
    for (const QLocale &locale : {kPoint, kComma}) {
        const ArticleModel::Row row = ArticleModel::startupRow(123, locale);
        ArticleRecord fromWindow;
        ASSERT_TRUE(ArticleRecord::fromCells(123, row[1], row[2], row[3], row[4], row[5], locale, fromWindow));
        EXPECT_EQ(fromWindow.encode(), ArticleRecord::fresh(123).encode());
        EXPECT_TRUE(fromWindow.isFresh());
    }
    // Any field the window shows differently makes the row one to list.
    ArticleRecord r = ArticleRecord::fresh(5);
    r.taxIndex = 9; // shown as an empty letter, not А
    EXPECT_FALSE(r.isFresh());
    r = ArticleRecord::fresh(5);
    r.barcode[6] = 0xF1;
    EXPECT_FALSE(r.isFresh());
    r = ArticleRecord::fresh(5);
    r.name = "\x01\x02"; // nothing the window would show
    EXPECT_TRUE(r.isFresh());
}

TEST(ArticleRecord, JsonPricesAreExactDecimalTexts)
{
    EXPECT_EQ(ArticleRecord::priceFromJson("0.29"), 29u);
    EXPECT_EQ(ArticleRecord::priceFromJson("8.53"), 853u);
    EXPECT_EQ(ArticleRecord::priceFromJson("12.5"), 1250u);
    EXPECT_EQ(ArticleRecord::priceFromJson("7"), 700u);
    EXPECT_EQ(ArticleRecord::priceFromJson("9999999.99"), 999999999u);
    for (const char *bad :
         {"", ".", "1.", ".5", "1.234", "10000000", "1,5", "-1", "+1", " 1", "1 ", "1e2", "0x10", "1.5.", "١"})
        EXPECT_FALSE(ArticleRecord::priceFromJson(QString::fromUtf8(bad)).has_value()) << bad;
    EXPECT_EQ(ArticleRecord::priceToJson(0), "0.00");
    EXPECT_EQ(ArticleRecord::priceToJson(5), "0.05");
    EXPECT_EQ(ArticleRecord::priceToJson(4294967295u), "42949672.95");

    // Whatever the user's locale, the JSON form keeps its point.
    QLocale::setDefault(kComma);
    ArticleRecord r = ArticleRecord::fresh(3);
    r.price = 1250;
    EXPECT_EQ(r.toJson().value("price").toString(), "12.50");
    ArticleRecord back;
    QString error;
    EXPECT_TRUE(ArticleRecord::fromJson(r.toJson(), "articles[0]", back, error)) << error.toStdString();
    EXPECT_EQ(back.price, 1250u);
    QLocale::setDefault(kPoint);
}

TEST(ArticleTable, ListsOnlyChangedRowsAndAFailedReadLeavesItAsItWas)
{
    ArticleTable table;
    EXPECT_TRUE(table.changed().empty());
    ArticleRecord r = ArticleRecord::fresh(60000);
    r.department = 3;
    EXPECT_TRUE(table.set(r));
    r.number = 0;
    EXPECT_FALSE(table.set(r));
    EXPECT_EQ(table.changed(), std::vector<int>{60000});
    EXPECT_EQ(table.record(60000).department, 3);
    EXPECT_EQ(table.record(60001).number, 0); // out of range: a fresh record, no crash

    QString error;
    const QJsonObject bad{{"articles", QJsonArray{QJsonObject{{"number", 1}, {"name", "x"}},
                                                  QJsonObject{{"number", 2}, {"department", 0}}}}};
    EXPECT_FALSE(ArticleTable::fromJson(bad, table, error));
    EXPECT_TRUE(error.startsWith("articles[1].department")) << error.toStdString();
    EXPECT_EQ(table.changed(), std::vector<int>{60000});

    const QJsonObject good{{"articles", QJsonArray{QJsonObject{{"number", 2}, {"name", "два"}}}}};
    ASSERT_TRUE(ArticleTable::fromJson(good, table, error));
    EXPECT_EQ(table.changed(), std::vector<int>{2}); // the rows it does not list are fresh again
    EXPECT_EQ(table.record(2).nameText(), QStringLiteral("два"));
    EXPECT_EQ(table.record(2).price, 0u);
    EXPECT_EQ(table.toJson().toObject().value("articles").toArray().at(0).toObject(),
              (QJsonObject{{"number", 2},
                           {"name", QStringLiteral("два")},
                           {"barcode", ""},
                           {"department", 1},
                           {"price", "0.00"},
                           {"taxGroup", QStringLiteral("А")}}));
}

TEST(CashierRecord, NameFields)
{
    uint8_t reply[32] = {0xFF, 0xFF, 'x'};
    EXPECT_FALSE(CashierRecord::nameFromReply(reply).has_value());
    reply[1] = 'b';
    EXPECT_EQ(CashierRecord::nameFromReply(reply).value(), QStringLiteral("яbx")); // only FF FF means undefined
    const QByteArray full(32, char(0xC0));
    EXPECT_EQ(CashierRecord::nameFromReply(reinterpret_cast<const uint8_t *>(full.constData())).value(),
              QString(32, QChar(u'А')));
    EXPECT_EQ(CashierRecord::nameField(QStringLiteral("Петар")).toHex(), "cfe5f2e0f0");
    EXPECT_EQ(CashierRecord::nameField(QString(40, QChar(u'a'))).size(), 32);
}
