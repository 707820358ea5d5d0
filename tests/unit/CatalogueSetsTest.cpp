// The tax groups, departments and cashiers data sets without a window: JSON in, bytes to the
// simulated printer, JSON back; refusals that send nothing, device errors and a lost connection.

#include "Cp1251.h"
#include "DeviceHarness.h"
#include "SimArticles.h"
#include "SimCatalogue.h"
#include "SimServer.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <functional>

namespace {

const DataSet &set(const char *name)
{
    const DataSet *s = findDataSet(QLatin1String(name));
    EXPECT_NE(s, nullptr) << name;
    return *s;
}

// Every write in `bad` ends as Invalid, and the device sees no request at all.
void expectRefusedWithNothingSent(DeviceHarness &h, const DataSet &s, const QList<QJsonValue> &bad,
                                  const QString &messagePart = {})
{
    const quint64 requests = h.sim.requestCount();
    for (const QJsonValue &json : bad) {
        const OpResult r = h.write(s, json);
        EXPECT_EQ(r.kind, OpResult::Kind::Invalid) << QJsonDocument(json.toObject()).toJson().toStdString();
        EXPECT_FALSE(r.message.isEmpty());
    }
    if (!messagePart.isEmpty()) {
        const OpResult last = h.write(s, bad.last());
        EXPECT_TRUE(last.message.contains(messagePart)) << last.message.toStdString();
    }
    DeviceHarness::wait([] { return false; }, 50);
    EXPECT_EQ(h.sim.requestCount(), requests);
}

QJsonObject taxGroups(const QList<QJsonValue> &rates)
{
    const QStringList letters = {"А", "Г", "Д", "Ђ", "Е", "Ж", "И", "Ј", "К"};
    QJsonArray groups;
    for (int i = 0; i < 9; ++i)
        groups.append(QJsonObject{{"letter", letters[i]}, {"rate", i < rates.size() ? rates[i] : QJsonValue()}});
    return QJsonObject{{"groups", groups}};
}

QJsonObject withGroup(QJsonObject json, int index, const char *key, const QJsonValue &value)
{
    QJsonArray groups = json["groups"].toArray();
    QJsonObject g = groups[index].toObject();
    g[key] = value;
    groups[index] = g;
    json["groups"] = groups;
    return json;
}

QJsonObject departments(const QStringList &names, bool restaurant)
{
    QJsonArray list;
    for (int i = 0; i < names.size(); ++i)
        list.append(QJsonObject{{"number", i + 1}, {"name", names[i]}});
    return QJsonObject{{"departments", list}, {"restaurantMode", restaurant}};
}

QStringList departmentNames()
{
    QStringList names;
    for (int n = 1; n <= 10; ++n)
        names << QStringLiteral("Пиће и храна %1").arg(n);
    names[9] = QStringLiteral("Кафе-посластичарница").left(18); // exactly 18 characters
    return names;
}

// 64 cashiers; `named` of them have names, the rest none (null).
QJsonObject cashiers(int named, const std::function<QString(int)> &nameOf)
{
    QJsonArray list;
    for (int k = 1; k <= 64; ++k)
        list.append(QJsonObject{{"number", k}, {"name", k <= named ? QJsonValue(nameOf(k)) : QJsonValue()}});
    return QJsonObject{{"cashiers", list}};
}

QString cashierName(int k)
{
    return k == 7 ? QString(32, QChar(u'Ж')) : QStringLiteral("Касир Јованка %1").arg(k);
}

QJsonObject withCashier(QJsonObject json, int k, const QJsonValue &name)
{
    QJsonArray list = json["cashiers"].toArray();
    QJsonObject c = list[k - 1].toObject();
    c["name"] = name;
    list[k - 1] = c;
    json["cashiers"] = list;
    return json;
}

// The server drops its client once it has answered `after` requests.
void dropAfter(DeviceHarness &h, int after)
{
    auto answered = std::make_shared<int>(0);
    QObject::connect(h.server.get(), &SimServer::requestAnswered, h.server.get(), [&h, answered, after] {
        if (++*answered == after)
            QTimer::singleShot(0, h.server.get(), [&h] { h.server->dropClient(); });
    });
}

} // namespace

TEST(TaxGroupsSet, WrittenRatesReachTheDeviceExactlyAndReadBackEqual)
{
    DeviceHarness h(QStringLiteral("127.0.0.110"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("taxgroups");
    EXPECT_FALSE(s.writeQuestion().isEmpty());
    SimCatalogue *dev = h.sim.module<SimCatalogue>();

    const QJsonObject written =
        taxGroups({"20", "10", "8.53", "0", "99.99", "0.29", QJsonValue(), QJsonValue(), "8.5"});
    const OpResult w = h.write(s, written);
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    // Exact hundredths, never through floating point; the undefined groups as 0xFFFF.
    const std::array<uint16_t, 9> expected = {2000, 1000, 853, 0, 9999, 29, 0xFFFF, 0xFFFF, 850};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(dev->rate(i), expected[size_t(i)]) << i;
    EXPECT_EQ(dev->letters().toHex(), "c0c3c480c5c6c8a3ca");
    EXPECT_EQ(dev->changeCount(), 1);

    const auto [r, json] = h.read(s);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(json["groups"], written["groups"]);
    EXPECT_EQ(json["remainingChanges"].toInt(), 29);
    EXPECT_EQ(json["lastChange"].toString(), dev->lastChange().toString("yyyy-MM-ddTHH:mm"));

    // The read's own JSON written back: the device already holds it, so no change is used.
    const OpResult again = h.write(s, json);
    EXPECT_TRUE(again.ok()) << again.message.toStdString();
    EXPECT_FALSE(again.message.isEmpty());
    EXPECT_EQ(dev->changeCount(), 1);
    EXPECT_EQ(h.read(s).second, json);
}

TEST(TaxGroupsSet, BadRatesAndLettersAreRefusedWithNothingSent)
{
    DeviceHarness h(QStringLiteral("127.0.0.111"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("taxgroups");
    const QJsonObject good = taxGroups(
        {"20", "10", "0", QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue()});
    QJsonObject eight = good;
    QJsonArray groups = eight["groups"].toArray();
    groups.removeLast();
    eight["groups"] = groups;
    QJsonObject noGroups = good;
    noGroups.remove("groups");
    expectRefusedWithNothingSent(
        h, s,
        {withGroup(good, 0, "rate", "100"), withGroup(good, 0, "rate", "-1"), withGroup(good, 0, "rate", "655.36"),
         withGroup(good, 0, "rate", "8.505"), withGroup(good, 0, "rate", "8,5"), withGroup(good, 0, "rate", "1e1"),
         withGroup(good, 0, "rate", 20), withGroup(good, 0, "rate", ""), withGroup(good, 1, "letter", "А"), eight,
         noGroups, QJsonValue("x"), withGroup(good, 2, "rate", "100.00")},
        QStringLiteral("taxgroups.groups[2].rate"));
}

TEST(TaxGroupsSet, DeviceRefusalEndsTheWriteAsDeviceError)
{
    DeviceHarness h(QStringLiteral("127.0.0.112"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("taxgroups");
    // The device refuses every further change once its 30 are used.
    h.sim.module<SimCatalogue>()->setChangeCount(30);
    const OpResult full = h.write(s, taxGroups({"1", "2", "3"}));
    EXPECT_EQ(full.kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(full.message.isEmpty());
    EXPECT_EQ(h.sim.module<SimCatalogue>()->rate(0), 2000);

    h.sim.setForcedError(2);
    EXPECT_EQ(h.read(s).first.kind, OpResult::Kind::DeviceError);
}

TEST(DepartmentsSet, WrittenNamesAndModeReadBackEqual)
{
    DeviceHarness h(QStringLiteral("127.0.0.113"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("departments");
    SimCatalogue *dev = h.sim.module<SimCatalogue>();
    ASSERT_FALSE(dev->restaurantMode());

    const QJsonObject written = departments(departmentNames(), true);
    const OpResult w = h.write(s, written);
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    EXPECT_TRUE(dev->restaurantMode());
    EXPECT_EQ(dev->departmentName(1), QStringLiteral("Пиће и храна 1"));
    // 18 characters and a zero byte fill the 19-byte field.
    EXPECT_EQ(dev->departmentField(10), Cp1251::encode(departmentNames()[9]) + QByteArray(1, '\0'));

    const auto [r, json] = h.read(s);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(json.toObject(), written);

    const QJsonObject off = departments(departmentNames(), false);
    ASSERT_TRUE(h.write(s, off).ok());
    EXPECT_FALSE(dev->restaurantMode());
    EXPECT_EQ(h.read(s).second.toObject(), off);
}

TEST(DepartmentsSet, ShortLongOrUnencodableNamesAreRefusedWithNothingSent)
{
    DeviceHarness h(QStringLiteral("127.0.0.114"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("departments");
    QStringList oneChar = departmentNames();
    oneChar[4] = "A";
    QStringList tooLong = departmentNames();
    tooLong[0] = QString(19, 'x');
    QStringList nine = departmentNames();
    nine.removeLast();
    QJsonObject noMode = departments(departmentNames(), true);
    noMode.remove("restaurantMode");
    QJsonObject renumbered = departments(departmentNames(), true);
    QJsonArray list = renumbered["departments"].toArray();
    const QJsonValue first = list[0];
    list[0] = list[1];
    list[1] = first;
    renumbered["departments"] = list;
    QStringList omega = departmentNames();
    omega[3] = QStringLiteral("Ωмега");
    expectRefusedWithNothingSent(h, s,
                                 {departments(oneChar, true), departments(tooLong, true), departments(nine, true),
                                  noMode, renumbered, departments(omega, false)},
                                 QStringLiteral("Ω"));
}

TEST(DepartmentsSet, DeviceRefusalEndsTheWriteAsDeviceError)
{
    DeviceHarness h(QStringLiteral("127.0.0.115"));
    ASSERT_TRUE(h.connected);
    h.sim.setForcedError(2);
    const OpResult r = h.write(set("departments"), departments(departmentNames(), true));
    EXPECT_EQ(r.kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_EQ(h.sim.module<SimCatalogue>()->departmentName(1), QStringLiteral("Одељење 1"));
}

TEST(CashiersSet, AllSixtyFourWrittenReadBackEqual)
{
    DeviceHarness h(QStringLiteral("127.0.0.116"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("cashiers");
    EXPECT_EQ(s.readFrames(), 64);
    SimArticles *dev = h.sim.module<SimArticles>();

    // A fresh device has no names: the read gives null for each, and that writes back as nothing.
    const auto [fresh, empty] = h.read(s);
    ASSERT_TRUE(fresh.ok()) << fresh.message.toStdString();
    EXPECT_EQ(empty.toObject(), cashiers(0, cashierName));
    EXPECT_TRUE(h.write(s, empty).ok());
    EXPECT_EQ(dev->cashierWrites(), 0);

    const QJsonObject written = cashiers(64, cashierName);
    int lastProgress = 0;
    std::optional<OpResult> w;
    s.write(
        h.device, written, [&](int done, int total) { lastProgress = done * 100 / total; },
        [&](const OpResult &r) { w = r; });
    DeviceHarness::wait([&] { return w.has_value(); }, 20000);
    ASSERT_TRUE(w && w->ok()) << (w ? w->message.toStdString() : "no end");
    EXPECT_EQ(dev->cashierWrites(), 64);
    EXPECT_GT(lastProgress, 90);
    EXPECT_EQ(dev->cashier(64), Cp1251::encode(cashierName(64)));
    EXPECT_EQ(dev->cashier(7), QByteArray(32, char(0xC6))); // 32 characters, no terminator needed on reading
    EXPECT_FALSE(h.link.busy());

    const auto [r, json] = h.read(s);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(json.toObject(), written);
}

TEST(CashiersSet, NamedCashiersFirstThenNoneWritesOnlyTheNamedOnes)
{
    DeviceHarness h(QStringLiteral("127.0.0.117"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("cashiers");
    SimArticles *dev = h.sim.module<SimArticles>();
    // The first cashier may have a one-character name.
    const QJsonObject written = withCashier(cashiers(3, cashierName), 1, "J");
    const OpResult w = h.write(s, written);
    ASSERT_TRUE(w.ok()) << w.message.toStdString();
    EXPECT_EQ(dev->cashierWrites(), 3);
    EXPECT_FALSE(dev->cashier(4).has_value());
    EXPECT_EQ(h.read(s).second.toObject(), written);

    // Cashier 1 alone: the chain ends with its first request.
    const QJsonObject one = cashiers(1, cashierName);
    EXPECT_TRUE(h.write(s, one).ok());
    EXPECT_EQ(dev->cashierWrites(), 4);
    EXPECT_EQ(dev->cashier(1), Cp1251::encode(cashierName(1)));
}

TEST(CashiersSet, BadNamesAreRefusedWithNothingSent)
{
    DeviceHarness h(QStringLiteral("127.0.0.118"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("cashiers");
    const QJsonObject good = cashiers(64, cashierName);
    QJsonObject short63 = good;
    QJsonArray list = short63["cashiers"].toArray();
    list.removeLast();
    short63["cashiers"] = list;
    expectRefusedWithNothingSent(h, s,
                                 {withCashier(good, 2, "J"), withCashier(good, 1, ""),
                                  withCashier(good, 5, QString(33, 'x')), withCashier(good, 9, QJsonValue()), short63,
                                  withCashier(good, 3, 42), withCashier(good, 40, QStringLiteral("Zoë Ω"))},
                                 QStringLiteral("Ω"));
    EXPECT_EQ(h.sim.module<SimArticles>()->cashierWrites(), 0);
}

TEST(CashiersSet, DeviceErrorEndsTheChains)
{
    DeviceHarness h(QStringLiteral("127.0.0.119"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("cashiers");
    h.sim.setForcedError(2);
    const OpResult w = h.write(s, cashiers(64, cashierName));
    EXPECT_EQ(w.kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(w.message.isEmpty());
    EXPECT_EQ(h.read(s).first.kind, OpResult::Kind::DeviceError);
    EXPECT_FALSE(h.link.busy());
    EXPECT_EQ(h.sim.module<SimArticles>()->cashierWrites(), 0);
}

TEST(CashiersSet, RefusalOfTheLastCashierIsNoSuccess)
{
    DeviceHarness h(QStringLiteral("127.0.0.122"));
    ASSERT_TRUE(h.connected);
    // The chain itself has ended once the last request is out; the device's word on it still counts.
    QObject::connect(h.server.get(), &SimServer::requestAnswered, h.server.get(), [&h, answered = 0]() mutable {
        if (++answered == 2)
            h.sim.setForcedError(2);
    });
    const OpResult r = h.write(set("cashiers"), cashiers(3, cashierName));
    EXPECT_EQ(r.kind, OpResult::Kind::DeviceError) << int(r.kind) << r.message.toStdString();
    EXPECT_EQ(h.sim.module<SimArticles>()->cashierWrites(), 2);
}

TEST(CashiersSet, ConnectionDroppedMidChainEndsAsConnectionLost)
{
    DeviceHarness h(QStringLiteral("127.0.0.120"));
    ASSERT_TRUE(h.connected);
    const DataSet &s = set("cashiers");
    dropAfter(h, 10);
    const auto [r, json] = h.read(s);
    EXPECT_EQ(r.kind, OpResult::Kind::ConnectionLost) << int(r.kind) << r.message.toStdString();
    EXPECT_TRUE(json.isNull());
    EXPECT_FALSE(h.link.busy());
    EXPECT_LT(h.sim.module<SimArticles>()->cashierReads(), 64);
}

TEST(CashiersSet, ConnectionDroppedMidWriteEndsAsConnectionLost)
{
    DeviceHarness h(QStringLiteral("127.0.0.121"));
    ASSERT_TRUE(h.connected);
    dropAfter(h, 20);
    const OpResult r = h.write(set("cashiers"), cashiers(64, cashierName));
    EXPECT_EQ(r.kind, OpResult::Kind::ConnectionLost) << int(r.kind) << r.message.toStdString();
    EXPECT_FALSE(h.link.busy());
    EXPECT_LT(h.sim.module<SimArticles>()->cashierWrites(), 64);
}
