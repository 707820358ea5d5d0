// The fiscal identity, clock, receipt lines and logo data sets without a window: JSON in, bytes to
// the simulated printer, JSON back, and the refusals that send nothing.

#include "Cp1251.h"
#include "DeviceHarness.h"
#include "LogoBlock.h"
#include "SimFiscal.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace {
const DataSet &set(const char *name)
{
    const DataSet *s = findDataSet(QString::fromLatin1(name));
    EXPECT_NE(s, nullptr) << name;
    return *s;
}

// Every request the device answers, and nothing else, counts: refusals must leave it unchanged.
void expectNothingSent(DeviceHarness &h, quint64 before)
{
    DeviceHarness::wait([] { return false; }, 50);
    EXPECT_EQ(h.sim.requestCount(), before);
}

// Runs `action` on the UI thread's next turn once the device has answered `count` requests.
void afterAnswers(DeviceHarness &h, int count, std::function<void()> action)
{
    auto answered = std::make_shared<int>(0);
    QObject::connect(h.server.get(), &SimServer::requestAnswered, h.server.get(),
                     [=](const QByteArray &, const QByteArray &) {
                         if (++*answered == count)
                             QTimer::singleShot(0, action);
                     });
}

QJsonObject line(const QString &text, bool on)
{
    return QJsonObject{{"text", text}, {"on", on}};
}

QJsonObject sampleLines()
{
    return QJsonObject{{"header", QJsonArray{line("Продавница Код Моста", true), line(QString(31, 'H'), false)}},
                       {"footer", QJsonArray{line("Хвала на посети", true), line("", false)}},
                       {"displayWorking", QJsonArray{line("Добро дошли", true), line(QString(17, 'D'), true)}},
                       {"displayClosed", QJsonArray{line("Затворено", false), line("До виђења", true)}}};
}

QStringList patternRows()
{
    QStringList rows;
    for (int y = 0; y < 128; ++y) {
        QString row(256, '.');
        for (int x = 0; x < 256; ++x)
            if ((x / 4 + y / 3) % 3 == 0 || x == 255 || y == 0)
                row[x] = '#';
        rows << row;
    }
    return rows;
}

QJsonObject sampleLogo(bool printed = true)
{
    return QJsonObject{{"printed", printed}, {"rows", QJsonArray::fromStringList(patternRows())}};
}

QDateTime jsonClock(const QJsonValue &v)
{
    return QDateTime::fromString(v["date"].toString() + "T" + v["time"].toString(), Qt::ISODate);
}
} // namespace

TEST(FiscalSet, ReadsTheIdentityBeforeAndAfterFiscalisationAndIsNeverWritten)
{
    DeviceHarness h(QStringLiteral("127.0.0.64"));
    ASSERT_TRUE(h.connected);
    const DataSet &fiscal = set("fiscal");
    EXPECT_FALSE(fiscal.writable());

    auto [r, json] = h.read(fiscal);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(json.toObject(), (QJsonObject{{"cashRegisterSerial", "QV00012345"},
                                            {"fiscalMemorySerial", "FM0000067890"},
                                            {"taxNumber", ""},
                                            {"fiscalised", false},
                                            {"fiscalisedAt", QJsonValue::Null}}));

    h.sim.module<SimFiscal>()->setFiscalised("100200300", QDateTime(QDate(2024, 5, 10), QTime(12, 30), Qt::UTC));
    std::tie(r, json) = h.read(fiscal);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(json["taxNumber"], "100200300");
    EXPECT_EQ(json["fiscalised"], true);
    EXPECT_EQ(json["fiscalisedAt"], "2024-05-10T12:30:00");

    const quint64 before = h.sim.requestCount();
    const OpResult w = h.write(fiscal, json);
    EXPECT_EQ(w.kind, OpResult::Kind::Invalid);
    EXPECT_FALSE(w.message.isEmpty());
    expectNothingSent(h, before);

    h.sim.setForcedError(2);
    EXPECT_EQ(h.read(fiscal).first.kind, OpResult::Kind::DeviceError);
}

TEST(ClockSet, WrittenClockReadsBackAndRefusalsSendNothing)
{
    DeviceHarness h(QStringLiteral("127.0.0.65"));
    ASSERT_TRUE(h.connected);
    const DataSet &clock = set("clock");
    SimFiscal &sim = *h.sim.module<SimFiscal>();

    const QJsonObject setting{{"date", "2030-06-01"}, {"time", "10:20:30"}};
    const OpResult w = h.write(clock, setting);
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    EXPECT_LE(qAbs(sim.clock().secsTo(QDateTime(QDate(2030, 6, 1), QTime(10, 20, 30), Qt::UTC))), 2);
    const auto [r, json] = h.read(clock);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(json.toObject().keys(), (QStringList{"date", "time"}));
    // The device's clock runs on between the write and the read.
    EXPECT_LE(qAbs(jsonClock(json).secsTo(jsonClock(setting))), 2) << json["time"].toString().toStdString();

    const quint64 before = h.sim.requestCount();
    for (const QJsonObject &bad :
         {QJsonObject{{"date", "2024-02-30"}, {"time", "10:00:00"}},
          QJsonObject{{"date", "2024-5-1"}, {"time", "10:00:00"}},
          QJsonObject{{"date", "2156-01-01"}, {"time", "10:00:00"}},
          QJsonObject{{"date", "1899-12-31"}, {"time", "10:00:00"}},
          QJsonObject{{"date", "2024-05-01"}, {"time", "24:00:00"}},
          QJsonObject{{"date", "2024-05-01"}, {"time", "10:00"}}, QJsonObject{{"date", "2024-05-01"}}}) {
        const OpResult refused = h.write(clock, bad);
        EXPECT_EQ(refused.kind, OpResult::Kind::Invalid) << QJsonDocument(bad).toJson().toStdString();
        EXPECT_TRUE(refused.message.startsWith("clock.")) << refused.message.toStdString();
    }
    expectNothingSent(h, before);
}

TEST(ClockSet, SettingMustBeLaterThanTheDevicesLastFiscalRecord)
{
    DeviceHarness h(QStringLiteral("127.0.0.66"));
    ASSERT_TRUE(h.connected);
    const DataSet &clock = set("clock");
    SimFiscal &sim = *h.sim.module<SimFiscal>();
    sim.setLastFiscalRecord(QDateTime(QDate(2031, 1, 1), QTime(8, 15), Qt::UTC));
    const qint64 offset = sim.clockOffsetSeconds();

    // Equal is not later: refused after the read that told the bound, and the clock is untouched.
    quint64 before = h.sim.requestCount();
    OpResult r = h.write(clock, QJsonObject{{"date", "2031-01-01"}, {"time", "08:15:00"}});
    EXPECT_EQ(r.kind, OpResult::Kind::Invalid);
    EXPECT_TRUE(r.message.contains("2031-01-01 08:15")) << r.message.toStdString();
    EXPECT_EQ(h.sim.requestCount(), before + 1);
    EXPECT_EQ(sim.clockOffsetSeconds(), offset);

    r = h.write(clock, QJsonObject{{"date", "2031-01-01"}, {"time", "08:15:01"}});
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_NE(sim.clockOffsetSeconds(), offset);

    h.sim.setForcedError(18);
    EXPECT_EQ(h.write(clock, QJsonObject{{"date", "2032-01-01"}, {"time", "00:00:00"}}).kind,
              OpResult::Kind::DeviceError);
}

TEST(LinesSet, WrittenLinesReachTheDeviceAndReadBackEqual)
{
    DeviceHarness h(QStringLiteral("127.0.0.67"));
    ASSERT_TRUE(h.connected);
    const DataSet &lines = set("lines");

    const OpResult w = h.write(lines, sampleLines());
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    const QByteArray bytes = h.sim.module<SimFiscal>()->receiptLines();
    EXPECT_TRUE(bytes.startsWith(Cp1251::encode(QStringLiteral("Продавница Код Моста"))));
    EXPECT_EQ(bytes.mid(128, 4).toHex(), "cc33cc33");
    EXPECT_EQ(bytes.mid(132 + 17, 17), QByteArray(17, 'D')); // working second line, no zero byte
    EXPECT_EQ(bytes.mid(200, 4).toHex(), "cccc33cc");

    const auto [r, json] = h.read(lines);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(json.toObject(), sampleLines());
}

TEST(LinesSet, BadJsonAndUnencodableTextAreRefusedWithNothingSent)
{
    DeviceHarness h(QStringLiteral("127.0.0.68"));
    ASSERT_TRUE(h.connected);
    const DataSet &lines = set("lines");
    const QByteArray stored = h.sim.module<SimFiscal>()->receiptLines();
    const quint64 before = h.sim.requestCount();

    auto with = [](const char *group, int i, const QJsonValue &value) {
        QJsonObject o = sampleLines();
        QJsonArray a = o[group].toArray();
        a[i] = value;
        o[group] = a;
        return o;
    };
    struct Case {
        QJsonValue json;
        const char *where;
    };
    QJsonObject three = sampleLines();
    three["footer"] = QJsonArray{line("a", true), line("b", true), line("c", true)};
    QJsonObject missing = sampleLines();
    missing.remove("displayClosed");
    const Case cases[] = {
        {with("displayWorking", 0, line(QString(18, 'x'), true)), "lines.displayWorking[0].text"},
        {with("header", 1, line(QString(32, 'x'), true)), "lines.header[1].text"},
        {with("footer", 0, QJsonObject{{"text", "x"}}), "lines.footer[0].on"},
        {with("footer", 1, QJsonObject{{"text", "x"}, {"on", "yes"}}), "lines.footer[1].on"},
        {three, "lines.footer"},
        {missing, "lines.displayClosed"},
        {QJsonValue("lines"), "lines"},
    };
    for (const Case &c : cases) {
        const OpResult r = h.write(lines, c.json);
        EXPECT_EQ(r.kind, OpResult::Kind::Invalid) << c.where;
        EXPECT_TRUE(r.message.startsWith(QString::fromLatin1(c.where))) << r.message.toStdString();
    }
    const OpResult euro = h.write(lines, with("displayClosed", 1, line("Ω 5 €", true)));
    EXPECT_EQ(euro.kind, OpResult::Kind::Invalid);
    EXPECT_TRUE(euro.message.contains(QStringLiteral("Ω"))) << euro.message.toStdString();
    expectNothingSent(h, before);
    EXPECT_EQ(h.sim.module<SimFiscal>()->receiptLines(), stored);

    h.sim.setForcedError(16);
    EXPECT_EQ(h.write(lines, sampleLines()).kind, OpResult::Kind::DeviceError);
    EXPECT_EQ(h.read(lines).first.kind, OpResult::Kind::DeviceError);
}

TEST(LogoSet, WrittenLogoReachesTheDeviceAndReadsBackEqual)
{
    DeviceHarness h(QStringLiteral("127.0.0.69"));
    ASSERT_TRUE(h.connected);
    const DataSet &logo = set("logo");
    EXPECT_EQ(logo.readFrames(), 17);
    EXPECT_EQ(logo.writeFrames(), 17);
    SimFiscal &sim = *h.sim.module<SimFiscal>();

    QList<int> steps;
    std::optional<OpResult> w;
    logo.write(
        h.device, sampleLogo(), [&](int done, int total) { steps << done * 100 + total; },
        [&](const OpResult &r) { w = r; });
    DeviceHarness::wait([&] { return w.has_value(); }, 20000);
    ASSERT_TRUE(w && w->ok()) << (w ? w->message.toStdString() : "no end");
    EXPECT_EQ(steps.size(), 17);
    EXPECT_EQ(steps.value(0), 117);
    EXPECT_EQ(steps.value(16), 1717);
    EXPECT_EQ(sim.logoFlag(), 0xCC);
    LogoBitmap expected;
    ASSERT_TRUE(LogoBitmap::fromRows(patternRows(), expected));
    QByteArray packed;
    for (int k = 0; k < 16; ++k)
        packed += LogoBlock::pack(expected, k);
    EXPECT_EQ(sim.logo(), packed);
    EXPECT_EQ(uint8_t(packed.at(0)), 0xFF);          // row 0 is all dots
    EXPECT_EQ(uint8_t(packed.at(4095)) & 1, 1);      // dot (255, 127) is the last byte's lowest bit
    EXPECT_EQ(uint8_t(packed.at(4095 - 32)) & 1, 1); // and (255, 126) the one a row above

    const auto [r, json] = h.read(logo);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(json.toObject(), sampleLogo());

    ASSERT_TRUE(h.write(logo, sampleLogo(false)).ok());
    EXPECT_EQ(sim.logoFlag(), 0x33);
    EXPECT_EQ(h.read(logo).second["printed"], false);
}

TEST(LogoSet, BadRowsAreRefusedWithNothingSent)
{
    DeviceHarness h(QStringLiteral("127.0.0.70"));
    ASSERT_TRUE(h.connected);
    const DataSet &logo = set("logo");
    const quint64 before = h.sim.requestCount();

    auto withRows = [](const QStringList &rows) {
        return QJsonObject{{"printed", true}, {"rows", QJsonArray::fromStringList(rows)}};
    };
    QStringList shortRow = patternRows();
    shortRow[7].chop(1);
    QStringList strange = patternRows();
    strange[9][3] = 'x';
    QStringList extra = patternRows() << QString(256, '.');
    QJsonObject numbers = sampleLogo();
    QJsonArray a = numbers["rows"].toArray();
    a[2] = 5;
    numbers["rows"] = a;
    QJsonObject noFlag = sampleLogo();
    noFlag.remove("printed");

    const std::pair<QJsonValue, const char *> cases[] = {
        {withRows(patternRows().mid(0, 127)), "logo.rows[127]"},
        {withRows(extra), "logo.rows[128]"},
        {withRows(shortRow), "logo.rows[7]"},
        {withRows(strange), "logo.rows[9]"},
        {numbers, "logo.rows[2]"},
        {noFlag, "logo.printed"},
        {QJsonObject{{"printed", true}, {"rows", "#"}}, "logo.rows"},
    };
    for (const auto &[json, where] : cases) {
        const OpResult r = h.write(logo, json);
        EXPECT_EQ(r.kind, OpResult::Kind::Invalid) << where;
        EXPECT_TRUE(r.message.startsWith(QString::fromLatin1(where))) << r.message.toStdString();
    }
    expectNothingSent(h, before);
    EXPECT_FALSE(h.link.busy());
}

TEST(LogoSet, RefusedFlagEndsTheWriteAsADeviceError)
{
    DeviceHarness h(QStringLiteral("127.0.0.71"));
    ASSERT_TRUE(h.connected);
    const DataSet &logo = set("logo");
    // All 16 blocks are taken; the device refuses the flag that follows the 0x50 request.
    afterAnswers(h, 16, [&] { h.sim.setForcedError(16); });
    const OpResult r = h.write(logo, sampleLogo());
    EXPECT_EQ(r.kind, OpResult::Kind::DeviceError) << int(r.kind);
    EXPECT_EQ(h.sim.module<SimFiscal>()->logoBlocksWritten(), 16);
    EXPECT_EQ(h.sim.module<SimFiscal>()->logoFlag(), 0x33);

    // A refused first block ends the chain at once.
    EXPECT_EQ(h.write(logo, sampleLogo()).kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(h.link.busy());
    EXPECT_EQ(h.read(logo).first.kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(h.link.busy());
}

TEST(LogoSet, ConnectionDroppedMidChainEndsAsConnectionLost)
{
    {
        DeviceHarness h(QStringLiteral("127.0.0.72"));
        ASSERT_TRUE(h.connected);
        afterAnswers(h, 5, [&] { h.server->dropClient(); });
        const auto [r, json] = h.read(set("logo"));
        EXPECT_EQ(r.kind, OpResult::Kind::ConnectionLost) << int(r.kind);
        EXPECT_TRUE(json.isNull());
        EXPECT_FALSE(h.link.busy());
    }
    {
        DeviceHarness h(QStringLiteral("127.0.0.73"));
        ASSERT_TRUE(h.connected);
        afterAnswers(h, 5, [&] { h.server->dropClient(); });
        const OpResult r = h.write(set("logo"), sampleLogo());
        EXPECT_EQ(r.kind, OpResult::Kind::ConnectionLost) << int(r.kind);
        EXPECT_LT(h.sim.module<SimFiscal>()->logoBlocksWritten(), 16);
        EXPECT_FALSE(h.link.busy());
    }
}
