// The taxpayer data set without a window: JSON in, bytes to the simulated printer, JSON back.

#include "Cp1251.h"
#include "DeviceHarness.h"
#include "SimFiscal.h"

#include <gtest/gtest.h>

#include <QJsonObject>

namespace {
QJsonObject sample()
{
    return QJsonObject{{"premises", "Продавница Код Моста"},
                       {"address", "Краља Петра 12"},
                       {"telephone", "011/123-456"},
                       {"trader", "Петар Петровић"},
                       {"statisticalNumber", "12345678"}};
}
} // namespace

TEST(TaxpayerSet, WrittenJsonReadsBackEqualAndReachesTheDevice)
{
    DeviceHarness h(QStringLiteral("127.0.0.61"));
    ASSERT_TRUE(h.connected);
    const DataSet *set = findDataSet(QStringLiteral("taxpayer"));
    ASSERT_NE(set, nullptr);

    const OpResult w = h.write(*set, sample());
    EXPECT_TRUE(w.ok()) << w.message.toStdString();
    // Frame field 1 (the address) leads the device's record.
    EXPECT_TRUE(h.sim.module<SimFiscal>()->taxpayer().startsWith(Cp1251::encode(QStringLiteral("Краља Петра 12"))));
    const auto [r, json] = h.read(*set);
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(json.toObject(), sample());
}

TEST(TaxpayerSet, BadJsonAndUnencodableTextAreRefusedWithNothingSent)
{
    DeviceHarness h(QStringLiteral("127.0.0.62"));
    ASSERT_TRUE(h.connected);
    const DataSet *set = findDataSet(QStringLiteral("taxpayer"));
    ASSERT_NE(set, nullptr);
    const QByteArray before = h.sim.module<SimFiscal>()->taxpayer();
    const quint64 requests = h.sim.requestCount();

    QJsonObject missing = sample();
    missing.remove("trader");
    OpResult r = h.write(*set, missing);
    EXPECT_EQ(r.kind, OpResult::Kind::Invalid);
    EXPECT_TRUE(r.message.contains("taxpayer.trader")) << r.message.toStdString();

    QJsonObject tooLong = sample();
    tooLong["address"] = QString(32, 'x');
    EXPECT_EQ(h.write(*set, tooLong).kind, OpResult::Kind::Invalid);

    QJsonObject euro = sample();
    euro["trader"] = QStringLiteral("Ana € Ω");
    r = h.write(*set, euro);
    EXPECT_EQ(r.kind, OpResult::Kind::Invalid);
    EXPECT_TRUE(r.message.contains(QStringLiteral("Ω"))) << r.message.toStdString();

    QJsonObject noNumber = sample();
    noNumber["statisticalNumber"] = "";
    EXPECT_EQ(h.write(*set, noNumber).kind, OpResult::Kind::Invalid);

    EXPECT_EQ(h.write(*set, QJsonValue(42)).kind, OpResult::Kind::Invalid);
    DeviceHarness::wait([] { return false; }, 50);
    EXPECT_EQ(h.sim.requestCount(), requests);
    EXPECT_EQ(h.sim.module<SimFiscal>()->taxpayer(), before);
}

TEST(TaxpayerSet, RefusalAndSilenceEndTheWriteAsSuch)
{
    DeviceHarness h(QStringLiteral("127.0.0.63"));
    ASSERT_TRUE(h.connected);
    const DataSet *set = findDataSet(QStringLiteral("taxpayer"));
    ASSERT_NE(set, nullptr);
    h.sim.setForcedError(2);
    const OpResult refused = h.write(*set, sample());
    EXPECT_EQ(refused.kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(refused.message.isEmpty());

    h.sim.setForcedError(0);
    h.server.reset(); // the listening server and its connection go away: the link sees it closed
    const OpResult gone = h.write(*set, sample());
    EXPECT_TRUE(gone.kind == OpResult::Kind::ConnectionLost || gone.kind == OpResult::Kind::NotSent) << int(gone.kind);
}
