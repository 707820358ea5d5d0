// The simulated printer's fiscal commands: fiscalisation once, clock bound, records, logo chain, saved state.
#include "SimFiscal.h"
#include "SimulatedDevice.h"

#include <QJsonObject>

#include <gtest/gtest.h>

namespace {
QByteArray frame(uint8_t code, const QByteArray &data = {})
{
    QByteArray f;
    f.append(char(0x5F)).append(char(code)).append(char(data.size() >= 256 ? 255 : data.size()));
    return f + data + char(0x0D);
}

QByteArray fiscalWrite(const QByteArray &tax)
{
    QByteArray d(54, '\0');
    d.replace(40, tax.size(), tax);
    return frame(0x25, d);
}

QByteArray clockWrite(const QDateTime &dt)
{
    QByteArray d(7, '\0');
    d[0] = char(dt.time().second());
    d[1] = char(dt.time().minute());
    d[2] = char(dt.time().hour());
    d[4] = char(dt.date().day());
    d[5] = char(dt.date().month());
    d[6] = char(dt.date().year() - 1900);
    return frame(0x65, d);
}

QDateTime wall(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}
} // namespace

TEST(SimFiscal, FiscalisesOnceThenRefusesWithError14)
{
    SimulatedDevice dev;
    SimFiscal &f = *dev.module<SimFiscal>();
    const QByteArray before = dev.feed(frame(0x20));
    ASSERT_EQ(before.size(), 3 + 77 + 1);
    EXPECT_EQ(uint8_t(before.at(2)), 77);
    EXPECT_EQ(before.mid(3, 10), QByteArray("QV00012345"));
    EXPECT_EQ(uint8_t(before.at(3 + 57)), 0xFF); // no tax number yet
    EXPECT_EQ(uint8_t(before.at(3 + 76)), 0x33);

    EXPECT_EQ(dev.feed(fiscalWrite("")), SimulatedDevice::errorReply(15));
    EXPECT_FALSE(f.fiscalised());
    EXPECT_EQ(dev.feed(fiscalWrite("101234567")), SimulatedDevice::ack());
    EXPECT_TRUE(f.fiscalised());
    EXPECT_EQ(f.taxNumber(), "101234567");
    EXPECT_EQ(f.lastFiscalRecord(), f.fiscalisedAt());
    EXPECT_EQ(dev.feed(fiscalWrite("999")), SimulatedDevice::errorReply(14));
    EXPECT_EQ(f.taxNumber(), "101234567");

    const QByteArray after = dev.feed(frame(0x20));
    EXPECT_EQ(after.mid(3 + 40, 16), f.fiscalisedAt().toString("dd.MM.yyyy HH:mm").toLatin1());
    EXPECT_EQ(after.mid(3 + 57, 10), QByteArray("101234567\0", 10));
    EXPECT_NE(uint8_t(after.at(3 + 76)), 0x33);
}

TEST(SimFiscal, ClockRunsFromHostTimeAndRefusesDatesBeforeLastFiscalRecord)
{
    SimulatedDevice dev;
    SimFiscal &f = *dev.module<SimFiscal>();
    f.setLastFiscalRecord(wall(2024, 5, 10, 12, 30, 45));
    EXPECT_EQ(dev.feed(clockWrite(wall(2024, 5, 10, 12, 30, 44))), SimulatedDevice::errorReply(30));
    EXPECT_EQ(dev.feed(clockWrite(wall(2024, 5, 10, 12, 30, 45))), SimulatedDevice::ack());
    EXPECT_LE(std::abs(f.clock().secsTo(wall(2024, 5, 10, 12, 30, 45))), 2);

    QByteArray bad(7, '\0');
    bad[2] = 25; // hour 25
    bad[4] = 1;
    bad[5] = 1;
    bad[6] = 124;
    EXPECT_EQ(dev.feed(frame(0x65, bad)), SimulatedDevice::errorReply(18));

    f.setClock(wall(2030, 1, 2, 3, 4, 5));
    const QByteArray r = dev.feed(frame(0x60));
    ASSERT_EQ(r.size(), 3 + 12 + 1);
    const QByteArray d = r.mid(3, 12);
    EXPECT_EQ(uint8_t(d.at(6)), 130); // 2030 - 1900
    EXPECT_EQ(uint8_t(d.at(5)), 1);
    EXPECT_EQ(uint8_t(d.at(4)), 2);
    EXPECT_EQ(uint8_t(d.at(2)), 3);
    EXPECT_EQ(d.mid(7, 5), QByteArray("\x0A\x05\x7C\x0C\x1E", 5)); // 10.05.2024 12:30
}

TEST(SimFiscal, RecordsAreStoredAsSent)
{
    SimulatedDevice dev;
    QByteArray taxpayer(160, 'a');
    EXPECT_EQ(dev.feed(frame(0x35, taxpayer)), SimulatedDevice::ack());
    EXPECT_EQ(dev.feed(frame(0x30)), frame(0x30, taxpayer));
    QByteArray lines(204, 'b');
    EXPECT_EQ(dev.feed(frame(0x45, lines)), SimulatedDevice::ack());
    EXPECT_EQ(dev.feed(frame(0x40)), frame(0x40, lines));
    // A record of the wrong size is refused and changes nothing.
    EXPECT_EQ(dev.feed(frame(0x35, QByteArray(10, 'x'))), SimulatedDevice::errorReply(16));
    EXPECT_EQ(dev.module<SimFiscal>()->taxpayer(), taxpayer);
}

TEST(SimFiscal, LogoWriteChainAsksForTheNextBlockThenTheFlag)
{
    SimulatedDevice dev;
    SimFiscal &f = *dev.module<SimFiscal>();
    for (int k = 0; k < 16; ++k) {
        const QByteArray reply = dev.feed(frame(uint8_t(0xD0 + k), QByteArray(256, char(k))));
        EXPECT_EQ(reply, k < 15 ? frame(uint8_t(0xD0 + k + 1)) : frame(0x50)) << k;
    }
    EXPECT_EQ(f.logoBlocksWritten(), 16);
    EXPECT_EQ(dev.feed(frame(0x50, QByteArray(1, char(0xCC)))), SimulatedDevice::ack());
    EXPECT_EQ(f.logoFlag(), 0xCC);
    EXPECT_EQ(f.logo().mid(5 * 256, 256), QByteArray(256, char(5)));
    EXPECT_EQ(dev.feed(frame(0xE7)), frame(0xE7, QByteArray(256, char(7))));
    EXPECT_EQ(dev.feed(frame(0x55)), frame(0x55, QByteArray(1, char(0xCC))));
}

TEST(SimFiscal, StateSurvivesSaveAndLoad)
{
    SimulatedDevice dev;
    SimFiscal &f = *dev.module<SimFiscal>();
    f.setFiscalised("12345678", wall(2024, 1, 2, 3, 4, 0));
    f.setTaxpayer(QByteArray(160, 't'));
    f.setReceiptLines(QByteArray(204, 'r'));
    f.setLogo(QByteArray(4096, char(0x5A)));
    f.setLogoFlag(0xCC);
    f.shiftClock(3600);

    SimulatedDevice copy;
    copy.loadState(dev.saveState());
    const SimFiscal &g = *copy.module<SimFiscal>();
    EXPECT_TRUE(g.fiscalised());
    EXPECT_EQ(g.taxNumber(), "12345678");
    EXPECT_EQ(g.fiscalisedAt(), wall(2024, 1, 2, 3, 4, 0));
    EXPECT_EQ(g.lastFiscalRecord(), wall(2024, 1, 2, 3, 4, 0));
    EXPECT_EQ(g.taxpayer(), f.taxpayer());
    EXPECT_EQ(g.receiptLines(), f.receiptLines());
    EXPECT_EQ(g.logo(), f.logo());
    EXPECT_EQ(g.logoFlag(), 0xCC);
    EXPECT_EQ(g.clockOffsetSeconds(), 3600);
}
