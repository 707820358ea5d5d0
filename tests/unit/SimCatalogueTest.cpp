// The simulated printer's tax groups (rates, change counter, refusals) and departments.
#include "SimCatalogue.h"
#include "SimulatedDevice.h"

#include <gtest/gtest.h>

namespace {
QByteArray frame(uint8_t code, const QByteArray &data = {})
{
    return QByteArray(1, char(0x5F)) + char(code) + char(data.size()) + data + char(0x0D);
}

QByteArray taxWrite(const std::array<uint16_t, 9> &rates)
{
    QByteArray d;
    for (uint16_t r : rates)
        d.append(char(r & 0xFF)).append(char(r >> 8));
    d.append(char(0xCC)).append(char(0x09));
    d.append(QByteArray("\xC0\xC3\xC4\x80\xC5\xC6\xC8\xA3\xCA", 9));
    return frame(0x75, d);
}

struct Sim {
    Sim()
    {
        cat = device.module<SimCatalogue>();
        cat->setClock([] { return QDateTime(QDate(2024, 3, 7), QTime(14, 25, 31)); });
    }
    SimulatedDevice device;
    SimCatalogue *cat = nullptr;
};
} // namespace

TEST(SimCatalogue, ReadTaxGroupsLayout)
{
    Sim s;
    for (int i = 0; i < 9; ++i)
        s.cat->setRate(i, uint16_t(i == 8 ? 9999 : 100 * i + 5));
    s.cat->setChangeCount(29);
    s.cat->setLastChange(QDateTime(QDate(2023, 12, 31), QTime(23, 59)));
    const QByteArray r = s.device.feed(frame(0x70));
    ASSERT_EQ(r.size(), 4 + 25);
    EXPECT_EQ(uint8_t(r[1]), 0x70);
    EXPECT_EQ(uint8_t(r[2]), 25);
    EXPECT_EQ(uint8_t(r[3]), 5); // group 0 low byte at position 4
    EXPECT_EQ(uint8_t(r[5]), 105);
    EXPECT_EQ(uint8_t(r[19]), 0x0F); // 9999 = 0x270F at positions 20, 21
    EXPECT_EQ(uint8_t(r[20]), 0x27);
    EXPECT_EQ(QByteArray(r.mid(22, 6)).toHex(' '), "1f 0c 7b 1d 17 3b"); // 31.12.(1900+123), 29, 23:59
    EXPECT_EQ(uint8_t(r[28]), 0x0D);
}

TEST(SimCatalogue, WritesCountChangesAndRefuseTheThirtyFirstAndIdenticalRates)
{
    Sim s;
    EXPECT_EQ(s.cat->changeCount(), SimCatalogue::kNeverChanged);
    std::array<uint16_t, 9> rates{};
    rates.fill(0xFFFF);
    rates[0] = 1800;
    EXPECT_EQ(s.device.feed(taxWrite(rates)), SimulatedDevice::ack());
    EXPECT_EQ(s.cat->changeCount(), 1);
    EXPECT_EQ(s.cat->rate(0), 1800);
    EXPECT_EQ(s.cat->rate(1), 0xFFFF);
    EXPECT_EQ(s.cat->lastChange(), QDateTime(QDate(2024, 3, 7), QTime(14, 25, 31)));
    EXPECT_EQ(s.cat->letters(), QByteArray("\xC0\xC3\xC4\x80\xC5\xC6\xC8\xA3\xCA", 9));

    // The same rates again: refused with 70, nothing counted.
    EXPECT_EQ(s.device.feed(taxWrite(rates)), SimulatedDevice::errorReply(70));
    EXPECT_EQ(s.cat->changeCount(), 1);

    for (int k = 2; k <= 30; ++k) {
        rates[1] = uint16_t(k);
        ASSERT_EQ(s.device.feed(taxWrite(rates)), SimulatedDevice::ack()) << k;
    }
    EXPECT_EQ(s.cat->changeCount(), 30);
    rates[1] = 500;
    EXPECT_EQ(s.device.feed(taxWrite(rates)), SimulatedDevice::errorReply(40));
    EXPECT_EQ(s.cat->rate(1), 30);
}

TEST(SimCatalogue, MalformedTaxWritesAreRefused)
{
    Sim s;
    std::array<uint16_t, 9> rates{};
    rates[3] = 10000; // neither a rate nor the undefined mark
    EXPECT_EQ(s.device.feed(taxWrite(rates)), SimulatedDevice::errorReply(16));
    EXPECT_EQ(s.device.feed(frame(0x75, QByteArray(10, '\0'))), SimulatedDevice::errorReply(16));
    EXPECT_EQ(s.cat->changeCount(), SimCatalogue::kNeverChanged);
}

TEST(SimCatalogue, DepartmentsWriteAndReadBack)
{
    Sim s;
    QByteArray d(192, '\0');
    const QByteArray full = QByteArray("ABCDEFGHIJKLMNOPQR"); // 18 characters
    d.replace(0, full.size(), full);
    d.replace(19 * 9, 2, "\xCF\xE8"); // "Пи" in Windows-1251
    d[190] = 0x00;
    d[191] = char(0xCC);
    EXPECT_EQ(s.device.feed(frame(0xA5, d)), SimulatedDevice::ack());
    EXPECT_EQ(s.cat->departmentName(1), "ABCDEFGHIJKLMNOPQR");
    EXPECT_EQ(s.cat->departmentName(10), QString::fromUtf8("Пи"));
    EXPECT_EQ(s.cat->departmentName(2), "");
    EXPECT_TRUE(s.cat->restaurantMode());

    const QByteArray r = s.device.feed(frame(0xA0));
    ASSERT_EQ(r.size(), 4 + 191);
    EXPECT_EQ(r.mid(3, 19), full + '\0');
    EXPECT_EQ(uint8_t(r[193]), 0xCC); // reply position 194

    d[191] = 0x33;
    s.device.feed(frame(0xA5, d));
    EXPECT_FALSE(s.cat->restaurantMode());
    EXPECT_EQ(uint8_t(s.device.feed(frame(0xA0))[193]), 0x33);
    EXPECT_EQ(s.device.feed(frame(0xA5, QByteArray(191, 'x'))), SimulatedDevice::errorReply(16));
}

TEST(SimCatalogue, StateSurvivesSaveAndLoad)
{
    Sim s;
    s.cat->setRate(4, 850);
    s.cat->setChangeCount(7);
    s.cat->setLastChange(QDateTime(QDate(2022, 5, 1), QTime(8, 30)));
    s.cat->setDepartmentName(3, QString::fromUtf8("Пиће"));
    s.cat->setRestaurantMode(true);
    SimulatedDevice other;
    other.loadState(s.device.saveState());
    SimCatalogue *c = other.module<SimCatalogue>();
    EXPECT_EQ(c->rate(4), 850);
    EXPECT_EQ(c->rate(0), s.cat->rate(0));
    EXPECT_EQ(c->changeCount(), 7);
    EXPECT_EQ(c->lastChange(), QDateTime(QDate(2022, 5, 1), QTime(8, 30)));
    EXPECT_EQ(c->departmentName(3), QString::fromUtf8("Пиће"));
    EXPECT_EQ(c->departmentField(3), s.cat->departmentField(3));
    EXPECT_TRUE(c->restaurantMode());
}
