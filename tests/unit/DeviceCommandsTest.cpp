// The one-off commands without a window: login, self-tests, clock shift and the memory dump against
// the simulated printer, each accepted, refused and met with silence.

#include "DeviceCommands.h"
#include "DeviceHarness.h"
#include "FaultInjector.h"
#include "SimMaintenance.h"
#include "UiText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
using Kind = OpResult::Kind;

OpResult await(const std::function<void(DeviceCommands::Done)> &start)
{
    std::optional<OpResult> out;
    start([&](const OpResult &r) { out = r; });
    DeviceHarness::wait([&] { return out.has_value(); }, 20000);
    return out.value_or(OpResult::failed(Kind::NoAnswer, "test timeout"));
}

struct Dump {
    OpResult result;
    QByteArray memory;
    int lastProgress = 0;
    int progressTotal = 0;
};

Dump dump(DeviceHarness &h)
{
    Dump d;
    bool over = false;
    DeviceCommands::fmDump(
        h.device,
        [&](int done, int total) {
            d.lastProgress = done;
            d.progressTotal = total;
        },
        [&](const OpResult &r, const QByteArray &m) {
            d.result = r;
            d.memory = m;
            over = true;
        });
    DeviceHarness::wait([&] { return over; }, 60000);
    if (!over)
        d.result = OpResult::failed(Kind::NoAnswer, "test timeout");
    return d;
}

const DeviceCommands::SelfTest kTests[] = {DeviceCommands::SelfTest::Display, DeviceCommands::SelfTest::Printer,
                                           DeviceCommands::SelfTest::FiscalMemory,
                                           DeviceCommands::SelfTest::ProgramMemory};
} // namespace

TEST(DeviceCommands, LoginCarriesTheFactoryNumberAndEndsWithTheDevicesVerdict)
{
    DeviceHarness h(QStringLiteral("127.0.0.71"));
    ASSERT_TRUE(h.connected);
    h.device.setFactoryNumber(QStringLiteral("123456"));
    QList<QByteArray> sent;
    QObject::connect(&h.link, &DeviceLink::frameSent, [&](const QByteArray &b) { sent.append(b); });

    h.sim.setServiceMode(false);
    const OpResult ok = await([&](auto done) { DeviceCommands::login(h.device, done); });
    EXPECT_TRUE(ok.ok()) << ok.message.toStdString();
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].toHex(' '), QByteArray("aa 04 01 12 34 56 01 01 01 01 4f df 0d"));
    EXPECT_TRUE(h.sim.serviceMode());
    EXPECT_EQ(h.sim.factoryBytes(), QByteArray::fromHex("123456"));

    // A register that was not zeroed: the device says so instead of accepting.
    h.sim.setZeroed(false);
    const OpResult refused = await([&](auto done) { DeviceCommands::login(h.device, done); });
    EXPECT_EQ(refused.kind, Kind::DeviceError);
    EXPECT_EQ(refused.message, UiText(Txt::NotZeroed));
}

TEST(DeviceCommands, SelfTestsPassOrReportTheDeviceStatus)
{
    DeviceHarness h(QStringLiteral("127.0.0.72"));
    ASSERT_TRUE(h.connected);
    QList<QByteArray> sent;
    QObject::connect(&h.link, &DeviceLink::frameSent, [&](const QByteArray &b) { sent.append(b); });
    for (DeviceCommands::SelfTest t : kTests) {
        const OpResult r = await([&](auto done) { DeviceCommands::selfTest(h.device, t, done); });
        EXPECT_TRUE(r.ok()) << int(t) << " " << r.message.toStdString();
    }
    // No factory number: the frames carry zeros.
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(sent[0].toHex(' '), QByteArray("aa 04 01 00 00 00 01 19 00 c9 b7 0d"));
    EXPECT_EQ(uint8_t(sent[3].at(7)), 0x1C);

    h.sim.setSelfTestStatus(1u << 8);
    const OpResult failed =
        await([&](auto done) { DeviceCommands::selfTest(h.device, DeviceCommands::SelfTest::Printer, done); });
    EXPECT_EQ(failed.kind, Kind::DeviceError);
    EXPECT_TRUE(failed.message.startsWith(QStringLiteral("Грешка! "))) << failed.message.toStdString();
    EXPECT_GT(failed.message.size(), 8);
}

TEST(DeviceCommands, ClockShiftMovesTheDeviceClockOrIsRefused)
{
    DeviceHarness h(QStringLiteral("127.0.0.73"));
    ASSERT_TRUE(h.connected);
    auto *maintenance = h.sim.module<SimMaintenance>();
    EXPECT_TRUE(await([&](auto done) { DeviceCommands::clockShift(h.device, true, done); }).ok());
    EXPECT_TRUE(await([&](auto done) { DeviceCommands::clockShift(h.device, true, done); }).ok());
    EXPECT_TRUE(await([&](auto done) { DeviceCommands::clockShift(h.device, false, done); }).ok());
    EXPECT_EQ(maintenance->clockShiftHours(), 1);

    h.sim.setForcedError(2);
    const OpResult refused = await([&](auto done) { DeviceCommands::clockShift(h.device, false, done); });
    EXPECT_EQ(refused.kind, Kind::DeviceError);
    EXPECT_FALSE(refused.message.isEmpty());
    EXPECT_EQ(maintenance->clockShiftHours(), 1);
}

TEST(DeviceCommands, SilentDeviceEndsEveryCommandAsNoAnswer)
{
    DeviceHarness h(QStringLiteral("127.0.0.74"));
    ASSERT_TRUE(h.connected);
    FaultInjector silent;
    silent.setSilentAfter(0);
    // Faults apply to the connections made after they were set.
    h.server->setFaults(&silent);
    h.tcp.close();
    ASSERT_TRUE(h.tcp.connectTo(h.server->address()));
    h.link.replyTimer().setInterval(150);

    EXPECT_EQ(await([&](auto done) { DeviceCommands::login(h.device, done); }).kind, Kind::NoAnswer);
    for (DeviceCommands::SelfTest t : kTests)
        EXPECT_EQ(await([&](auto done) { DeviceCommands::selfTest(h.device, t, done); }).kind, Kind::NoAnswer);
    EXPECT_EQ(await([&](auto done) { DeviceCommands::clockShift(h.device, true, done); }).kind, Kind::NoAnswer);
    const Dump d = dump(h);
    EXPECT_EQ(d.result.kind, Kind::NoAnswer);
    EXPECT_TRUE(d.memory.isEmpty());
    EXPECT_FALSE(h.link.busy());
}

TEST(DeviceCommands, DumpGivesTheWholeFiscalMemory)
{
    DeviceHarness h(QStringLiteral("127.0.0.75"));
    ASSERT_TRUE(h.connected);
    const Dump d = dump(h);
    ASSERT_TRUE(d.result.ok()) << d.result.message.toStdString();
    EXPECT_EQ(d.memory.size(), 131072);
    EXPECT_TRUE(d.memory == h.sim.module<SimMaintenance>()->fiscalMemory());
    EXPECT_EQ(d.lastProgress, 1024);
    EXPECT_EQ(d.progressTotal, 1024);
    EXPECT_FALSE(h.link.busy());
}

TEST(DeviceCommands, DumpEndsWhenTheConnectionDropsOrTheDeviceRefuses)
{
    DeviceHarness h(QStringLiteral("127.0.0.76"));
    ASSERT_TRUE(h.connected);
    int answered = 0;
    QObject::connect(h.server.get(), &SimServer::requestAnswered, [&] {
        if (++answered == 300)
            h.server->dropClient();
    });
    const Dump gone = dump(h);
    EXPECT_EQ(gone.result.kind, Kind::ConnectionLost) << gone.result.message.toStdString();
    EXPECT_TRUE(gone.memory.isEmpty());
    EXPECT_GE(gone.lastProgress, 250);
    EXPECT_LT(gone.lastProgress, 1024);
    EXPECT_FALSE(h.link.busy());

    // A new connection to a device that refuses the blocks.
    DeviceHarness r(QStringLiteral("127.0.0.77"));
    ASSERT_TRUE(r.connected);
    r.sim.setForcedError(16);
    const Dump refused = dump(r);
    EXPECT_EQ(refused.result.kind, Kind::DeviceError);
    EXPECT_FALSE(refused.result.message.isEmpty());
    EXPECT_FALSE(r.link.busy());
}
