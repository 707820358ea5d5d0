// The network and parameters data sets without a window: JSON in, bytes to the simulated printer, JSON back.

#include "DeviceHarness.h"
#include "SimMaintenance.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>

#include <stdexcept>

namespace {
using Kind = OpResult::Kind;

QJsonObject network()
{
    return QJsonObject{
        {"address", "192.168.0.20"}, {"subnetMask", "255.255.255.0"}, {"gateway", "192.168.0.1"}, {"tcpPort", 4000}};
}

QJsonObject parameter(int number, int value)
{
    return QJsonObject{{"number", number}, {"value", value}};
}

const DataSet &set(const char *name)
{
    const DataSet *s = findDataSet(QString::fromLatin1(name));
    if (!s)
        throw std::runtime_error(std::string("no data set ") + name); // fails the test
    return *s;
}
} // namespace

TEST(NetworkSet, ReadsTheDeviceAndWritesBackWhatItRead)
{
    DeviceHarness h(QStringLiteral("127.0.0.81"));
    ASSERT_TRUE(h.connected);
    const auto [r, fresh] = h.read(set("network"));
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(
        fresh.toObject(),
        (QJsonObject{
            {"address", "172.16.1.199"}, {"subnetMask", "255.255.0.0"}, {"gateway", "172.16.1.1"}, {"tcpPort", 1024}}));

    const OpResult w = h.write(set("network"), network());
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    auto *m = h.sim.module<SimMaintenance>();
    // The first byte on the wire is the last part of the dotted address.
    EXPECT_EQ(m->setting(0), (std::array<uint8_t, 4>{20, 0, 168, 192}));
    EXPECT_EQ(m->setting(1), (std::array<uint8_t, 4>{0, 255, 255, 255}));
    EXPECT_EQ(m->tcpPort(), 4000);
    const auto [r2, back] = h.read(set("network"));
    ASSERT_TRUE(r2.ok());
    EXPECT_EQ(back.toObject(), network());

    // What one printer gave, written to another, reads back equal there.
    DeviceHarness other(QStringLiteral("127.0.0.82"));
    ASSERT_TRUE(other.connected);
    ASSERT_TRUE(other.write(set("network"), back).ok());
    EXPECT_EQ(other.read(set("network")).second, back);
}

TEST(ParametersSet, AllParametersReadAndAWrittenSubsetReadsBack)
{
    DeviceHarness h(QStringLiteral("127.0.0.83"));
    ASSERT_TRUE(h.connected);
    auto *m = h.sim.module<SimMaintenance>();
    for (int n = 0; n < 256; ++n)
        m->setParameter(n, uint16_t(n * 257));
    int lastDone = 0, lastTotal = 0;
    std::optional<std::pair<OpResult, QJsonValue>> got;
    set("parameters")
        .read(
            h.device,
            [&](int d, int t) {
                lastDone = d;
                lastTotal = t;
            },
            [&](const OpResult &r, const QJsonValue &v) { got.emplace(r, v); });
    DeviceHarness::wait([&] { return got.has_value(); }, 20000);
    ASSERT_TRUE(got && got->first.ok());
    EXPECT_EQ(lastDone, 256);
    EXPECT_EQ(lastTotal, 256);
    QJsonArray list = got->second.toObject()["parameters"].toArray();
    ASSERT_EQ(list.size(), 256);
    EXPECT_EQ(list[0].toObject(), parameter(0, 0));
    EXPECT_EQ(list[255].toObject(), parameter(255, 65535));
    EXPECT_EQ(list[18].toObject(), parameter(18, 18 * 257));

    const OpResult w =
        h.write(set("parameters"), QJsonObject{{"parameters", QJsonArray{parameter(5, 4660), parameter(0, 65535)}}});
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    EXPECT_EQ(m->parameter(5), 4660);
    EXPECT_EQ(m->parameter(0), 65535);
    EXPECT_EQ(m->parameter(6), 6 * 257);
    list[5] = parameter(5, 4660);
    list[0] = parameter(0, 65535);
    const QJsonObject expected{{"parameters", list}};
    EXPECT_EQ(h.read(set("parameters")).second.toObject(), expected);

    DeviceHarness other(QStringLiteral("127.0.0.84"));
    ASSERT_TRUE(other.connected);
    ASSERT_TRUE(other.write(set("parameters"), expected).ok());
    EXPECT_EQ(other.read(set("parameters")).second.toObject(), expected);

    // Nothing listed, nothing sent; still a result from the event loop.
    const quint64 before = other.sim.requestCount();
    EXPECT_TRUE(other.write(set("parameters"), QJsonObject{{"parameters", QJsonArray{}}}).ok());
    EXPECT_EQ(other.sim.requestCount(), before);
}

TEST(MaintenanceSets, BadJsonIsRefusedWithNothingSent)
{
    DeviceHarness h(QStringLiteral("127.0.0.85"));
    ASSERT_TRUE(h.connected);
    const quint64 requests = h.sim.requestCount();
    const QJsonObject saved = h.sim.saveState();

    auto networkWith = [](const char *key, const QJsonValue &v) {
        QJsonObject o = network();
        if (v.isUndefined())
            o.remove(key);
        else
            o[key] = v;
        return o;
    };
    const std::pair<QJsonObject, const char *> badNetwork[] = {
        {networkWith("address", "192.168.0.256"), "network.address"},
        {networkWith("gateway", "1.2.3"), "network.gateway"},
        {networkWith("subnetMask", "255.255.255.-0"), "network.subnetMask"},
        {networkWith("address", 42), "network.address"},
        {networkWith("tcpPort", 65536), "network.tcpPort"},
        {networkWith("tcpPort", "1024"), "network.tcpPort"},
        {networkWith("tcpPort", 1e24), "network.tcpPort"}, // past any integer: refused, not converted
        {networkWith("tcpPort", -9.3e18), "network.tcpPort"},
        {networkWith("tcpPort", QJsonValue::Undefined), "network.tcpPort"},
    };
    for (const auto &[json, where] : badNetwork) {
        const OpResult r = h.write(set("network"), json);
        EXPECT_EQ(r.kind, Kind::Invalid) << where;
        EXPECT_TRUE(r.message.startsWith(QString::fromLatin1(where))) << r.message.toStdString();
    }
    EXPECT_EQ(h.write(set("network"), QJsonValue("x")).kind, Kind::Invalid);

    // A bad entry at the end refuses the whole list: the good ones before it are not sent either.
    QJsonArray many;
    for (int n = 0; n < 257; ++n)
        many.append(parameter(n % 256, 1));
    const std::pair<QJsonArray, const char *> badParameters[] = {
        {{parameter(1, 1), parameter(256, 1)}, "parameters[1].number"},
        {{parameter(1, 1), parameter(2, -1)}, "parameters[1].value"},
        {{parameter(1, 1), parameter(2, 65536)}, "parameters[1].value"},
        {{parameter(1, 1), parameter(2, 1), parameter(1, 2)}, "parameters[2].number"},
        {{parameter(1, 1), QJsonObject{{"number", 3}}}, "parameters[1].value"},
        {{parameter(1, 1), QJsonObject{{"number", 3}, {"value", 1.5}}}, "parameters[1].value"},
        {{parameter(1, 1), 7}, "parameters[1]"},
        {many, "parameters.parameters"},
    };
    for (const auto &[list, where] : badParameters) {
        const OpResult r = h.write(set("parameters"), QJsonObject{{"parameters", list}});
        EXPECT_EQ(r.kind, Kind::Invalid) << where;
        EXPECT_TRUE(r.message.startsWith(QString::fromLatin1(where))) << r.message.toStdString();
    }
    EXPECT_EQ(h.write(set("parameters"), QJsonObject{{"parameters", 3}}).kind, Kind::Invalid);

    DeviceHarness::wait([] { return false; }, 50);
    EXPECT_EQ(h.sim.requestCount(), requests);
    EXPECT_EQ(h.sim.saveState(), saved);
}

TEST(MaintenanceSets, RefusalStopsTheRun)
{
    DeviceHarness h(QStringLiteral("127.0.0.86"));
    ASSERT_TRUE(h.connected);
    h.sim.setForcedError(2);
    const quint64 before = h.sim.requestCount();
    const OpResult w =
        h.write(set("parameters"), QJsonObject{{"parameters", QJsonArray{parameter(1, 1), parameter(2, 2)}}});
    EXPECT_EQ(w.kind, Kind::DeviceError);
    EXPECT_FALSE(w.message.isEmpty());
    EXPECT_EQ(h.sim.requestCount(), before + 1); // the second was not sent after the refusal
    const auto [r, json] = h.read(set("network"));
    EXPECT_EQ(r.kind, Kind::DeviceError);
    EXPECT_TRUE(json.isNull() || json.isUndefined());
}
