// The simulated device's maintenance commands, byte for byte, and their saved state.
#include "SimMaintenance.h"
#include "SimFiscal.h"
#include "SimulatedDevice.h"

#include <gtest/gtest.h>

namespace {
QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}
} // namespace

TEST(SimMaintenance, NetworkSettingsWriteAndReadBack)
{
    SimulatedDevice d;
    // Default address 172.16.1.199: the last part travels first.
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF6, 0x01, 0x00, 0x0D})), bytes({0x5F, 0xF6, 0x05, 0x00, 199, 1, 16, 172, 0x0D}));
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF6, 0x01, 0x03, 0x0D})), bytes({0x5F, 0xF6, 0x03, 0x03, 0x00, 0x04, 0x0D}));

    EXPECT_EQ(d.feed(bytes({0x5F, 0xF8, 0x05, 0x02, 0x14, 0x00, 0xA8, 0xC0, 0x0D})), SimulatedDevice::ack());
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF8, 0x05, 0x03, 0x39, 0x30, 0x00, 0x00, 0x0D})), SimulatedDevice::ack());
    auto *m = d.module<SimMaintenance>();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->setting(2), (std::array<uint8_t, 4>{0x14, 0x00, 0xA8, 0xC0}));
    EXPECT_EQ(m->tcpPort(), 12345);
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF6, 0x01, 0x02, 0x0D})),
              bytes({0x5F, 0xF6, 0x05, 0x02, 0x14, 0x00, 0xA8, 0xC0, 0x0D}));
    // An unknown setting is refused with "wrong parameter".
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF6, 0x01, 0x04, 0x0D})), SimulatedDevice::errorReply(16));
}

TEST(SimMaintenance, ParametersClockShiftAndServiceMode)
{
    SimulatedDevice d;
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF9, 0x03, 0xFF, 0xFF, 0xFF, 0x0D})), SimulatedDevice::ack());
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF7, 0x01, 0xFF, 0x0D})), bytes({0x5F, 0xF7, 0x03, 0xFF, 0xFF, 0xFF, 0x0D}));
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF7, 0x01, 0x05, 0x0D})), bytes({0x5F, 0xF7, 0x03, 0x05, 0x00, 0x00, 0x0D}));

    auto *m = d.module<SimMaintenance>();
    d.feed(bytes({0x5F, 0x67, 0x00, 0x0D}));
    d.feed(bytes({0x5F, 0x67, 0x00, 0x0D}));
    EXPECT_EQ(d.feed(bytes({0x5F, 0x69, 0x00, 0x0D})), SimulatedDevice::ack());
    EXPECT_EQ(m->clockShiftHours(), 1);
    // The clock itself moved by the net hour.
    EXPECT_EQ(d.module<SimFiscal>()->clockOffsetSeconds(), 3600);

    d.setServiceMode(false);
    EXPECT_EQ(d.feed(bytes({0x5F, 0xF9, 0x03, 0x01, 0x02, 0x03, 0x0D})), SimulatedDevice::errorReply(17));
    EXPECT_EQ(m->parameter(1), 0);
}

TEST(SimMaintenance, FiscalMemoryBlocks)
{
    SimulatedDevice d;
    auto *m = d.module<SimMaintenance>();
    const QByteArray fm = m->fiscalMemory();
    ASSERT_EQ(fm.size(), 131072);
    EXPECT_EQ(fm, SimMaintenance::defaultFiscalMemory()); // the same content every time
    // The frame bytes occur in the content, so a reader must go by the length alone.
    EXPECT_TRUE(fm.contains(char(0x0D)) && fm.contains(char(0x5F)) && fm.contains(char(0xAA)));

    const QByteArray r = d.feed(bytes({0x5F, 0xC0, 0x02, 0xFF, 0x03, 0x0D})); // block 1023
    ASSERT_EQ(r.size(), 134);
    EXPECT_EQ(uint8_t(r[2]), 130);
    EXPECT_EQ(uint8_t(r[3]), 0xFF);
    EXPECT_EQ(uint8_t(r[4]), 0x03);
    EXPECT_EQ(r.mid(5, 128), fm.right(128));
    EXPECT_EQ(uint8_t(r[133]), 0x0D);
    EXPECT_EQ(d.feed(bytes({0x5F, 0xC0, 0x02, 0x00, 0x04, 0x0D})), SimulatedDevice::errorReply(16)); // block 1024
}

TEST(SimMaintenance, StateSurvivesSaveAndLoad)
{
    SimulatedDevice a;
    auto *m = a.module<SimMaintenance>();
    m->setSetting(1, {255, 255, 255, 0});
    m->setTcpPort(9100);
    m->setParameter(200, 4660);
    a.feed(bytes({0x5F, 0x69, 0x00, 0x0D}));
    QByteArray fm(131072, '\x11');
    fm[77] = 0x42;
    m->setFiscalMemory(fm);

    SimulatedDevice b;
    b.loadState(a.saveState());
    auto *n = b.module<SimMaintenance>();
    EXPECT_EQ(n->setting(1), (std::array<uint8_t, 4>{255, 255, 255, 0}));
    EXPECT_EQ(n->setting(0), m->setting(0));
    EXPECT_EQ(n->tcpPort(), 9100);
    EXPECT_EQ(n->parameter(200), 4660);
    EXPECT_EQ(n->clockShiftHours(), -1);
    EXPECT_EQ(n->fiscalMemory(), fm);
}
