// Profile files: what is written reads back the same (the logo as PNG inside), and what is refused says why and where.

#include "LogoBitmap.h"
#include "Profile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QJsonObject logoSet(bool printed)
{
    LogoBitmap b;
    for (int i = 0; i < 128; ++i)
        b.setDot(i * 2, i, true);
    b.setDot(255, 0, true);
    return QJsonObject{{"printed", printed}, {"rows", QJsonArray::fromStringList(b.rows())}};
}

QJsonObject cashiersSet()
{
    QJsonArray list;
    for (int i = 1; i <= 64; ++i)
        list.append(QJsonObject{{"number", i},
                                {"name", i <= 2 ? QJsonValue(QStringLiteral("Касир %1").arg(i)) : QJsonValue()}});
    return QJsonObject{{"cashiers", list}};
}

Profile sample()
{
    Profile p;
    p.toolVersion = QStringLiteral("quorvel 3.4.0");
    p.taken = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0), Qt::UTC);
    p.factoryNumber = QStringLiteral("123456");
    p.sets["fiscal"] = QJsonObject{{"cashRegisterSerial", "AB123"},
                                   {"fiscalMemorySerial", "FM77"},
                                   {"taxNumber", "100200300"},
                                   {"fiscalised", true},
                                   {"fiscalisedAt", "2024-05-10T12:30:00"}};
    p.sets["taxpayer"] = QJsonObject{{"premises", "Продавница"},
                                     {"address", "Краља Петра 12"},
                                     {"telephone", "011/123"},
                                     {"trader", "Петар"},
                                     {"statisticalNumber", "1234"}};
    p.sets["logo"] = logoSet(true);
    p.sets["articles"] = QJsonObject{{"articles", QJsonArray{QJsonObject{{"number", 7},
                                                                         {"name", "Хлеб"},
                                                                         {"barcode", "860"},
                                                                         {"department", 2},
                                                                         {"price", "55.00"},
                                                                         {"taxGroup", "Ђ"}}}}};
    p.sets["cashiers"] = cashiersSet();
    p.sets["network"] = QJsonObject{
        {"address", "192.168.0.20"}, {"subnetMask", "255.255.255.0"}, {"gateway", "192.168.0.1"}, {"tcpPort", 1024}};
    return p;
}

QJsonObject fileObject(const Profile &p)
{
    return QJsonDocument::fromJson(ProfileFile::encode(p)).object();
}

// Decodes `bytes` into a profile that must stay as it was; the error text.
std::string refusal(const QByteArray &bytes)
{
    Profile p = sample();
    QString error;
    EXPECT_FALSE(ProfileFile::decode(bytes, p, error));
    EXPECT_EQ(p.sets, sample().sets);
    EXPECT_FALSE(error.isEmpty());
    return error.toStdString();
}
} // namespace

TEST(ProfileFile, WrittenProfileReadsBackEqualWithTheLogoStoredAsPng)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shop.qvp");
    QString error;
    ASSERT_TRUE(ProfileFile::write(sample(), path, error)) << error.toStdString();

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonObject top = QJsonDocument::fromJson(f.readAll()).object();
    EXPECT_EQ(top["format"], "quorvel-profile");
    EXPECT_EQ(top["version"], 1);
    EXPECT_EQ(top["taken"], "2026-12-09T10:00:00Z");
    const QJsonObject logo = top["sets"].toObject()["logo"].toObject();
    EXPECT_FALSE(logo.contains("rows"));
    EXPECT_TRUE(QByteArray::fromBase64(logo["png"].toString().toLatin1()).startsWith("\x89PNG"));

    Profile back;
    ASSERT_TRUE(ProfileFile::read(path, back, error)) << error.toStdString();
    EXPECT_EQ(back.sets, sample().sets);
    EXPECT_EQ(back.toolVersion, "quorvel 3.4.0");
    EXPECT_EQ(back.taken, sample().taken);
    EXPECT_EQ(back.factoryNumber, "123456");
    EXPECT_TRUE(back.complete);
    EXPECT_EQ(back.identity(), "AB123 / FM77");
    EXPECT_EQ(back.setNames(), (QStringList{"fiscal", "taxpayer", "logo", "articles", "cashiers", "network"}));

    Profile partial = sample();
    partial.complete = false;
    ASSERT_TRUE(ProfileFile::decode(ProfileFile::encode(partial), back, error));
    EXPECT_FALSE(back.complete);
}

TEST(ProfileFile, WriteReplacesTheOldFileWholeAndAFailedOneSaysWhichFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shop.qvp");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(20 * 1024 * 1024, 'x')); // longer than the profile: no tail may be left
    old.close();
    QString error;
    ASSERT_TRUE(ProfileFile::write(sample(), path, error)) << error.toStdString();
    Profile back;
    EXPECT_TRUE(ProfileFile::read(path, back, error)) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"shop.qvp"}); // no temporary left behind

    // The directory is a file: nothing can be written there.
    const QString bad = path + "/inner.qvp";
    EXPECT_FALSE(ProfileFile::write(sample(), bad, error));
    EXPECT_TRUE(error.contains("inner.qvp")) << error.toStdString();
    EXPECT_TRUE(ProfileFile::read(path, back, error));
}

TEST(ProfileFile, OtherFormatsNewerVersionsAndBrokenJsonAreRefusedSayingWhichAndWhere)
{
    QJsonObject top = fileObject(sample());
    top["format"] = "something-else";
    EXPECT_NE(refusal(QJsonDocument(top).toJson()).find("format"), std::string::npos);
    EXPECT_NE(refusal("[1, 2]").find("format"), std::string::npos);

    top = fileObject(sample());
    top["version"] = 2;
    const std::string newer = refusal(QJsonDocument(top).toJson());
    EXPECT_NE(newer.find("новијом"), std::string::npos) << newer;
    EXPECT_NE(newer.find("(2)"), std::string::npos) << newer;
    top["version"] = "1";
    EXPECT_NE(refusal(QJsonDocument(top).toJson()).find("version"), std::string::npos);

    // A comma missing on line 3: the message gives the line and the character.
    const std::string broken = refusal("{\n  \"format\": \"quorvel-profile\",\n  \"version\": 1\n  \"sets\": {}\n}\n");
    EXPECT_NE(broken.find("ред 4"), std::string::npos) << broken;
    EXPECT_NE(broken.find("JSON"), std::string::npos) << broken;
}

TEST(ProfileFile, BadSetFieldIsRefusedNamingTheSetAndTheField)
{
    const auto withSet = [](const QString &set, const QJsonValue &value) {
        QJsonObject top = fileObject(sample());
        QJsonObject sets = top["sets"].toObject();
        sets[set] = value;
        top["sets"] = sets;
        return QJsonDocument(top).toJson();
    };
    QJsonObject taxpayer = sample().sets["taxpayer"].toObject();
    taxpayer["address"] = 12;
    std::string e = refusal(withSet("taxpayer", taxpayer));
    EXPECT_NE(e.find("„taxpayer“"), std::string::npos) << e;
    EXPECT_NE(e.find("taxpayer.address"), std::string::npos) << e;

    QJsonObject articles = sample().sets["articles"].toObject();
    QJsonObject article = articles["articles"].toArray()[0].toObject();
    article["price"] = "12,5";
    articles["articles"] = QJsonArray{article};
    e = refusal(withSet("articles", articles));
    EXPECT_NE(e.find("articles[0].price"), std::string::npos) << e;

    e = refusal(withSet("cashiers", QJsonObject{{"cashiers", QJsonArray{}}}));
    EXPECT_NE(e.find("„cashiers“"), std::string::npos) << e;

    e = refusal(withSet("logo", QJsonObject{{"printed", true}, {"png", "not base64 !"}}));
    EXPECT_NE(e.find("logo.png"), std::string::npos) << e;

    // The clock is never part of a profile, and a set of no known name is not taken either.
    EXPECT_NE(refusal(withSet("clock", QJsonObject{{"date", "2026-01-01"}, {"time", "10:00:00"}})).find("clock"),
              std::string::npos);
    EXPECT_NE(refusal(withSet("printerColour", QJsonObject{})).find("printerColour"), std::string::npos);

    QJsonObject top = fileObject(sample());
    top["complete"] = "yes";
    EXPECT_NE(refusal(QJsonDocument(top).toJson()).find("complete"), std::string::npos);
}

TEST(ProfileFile, MissingOrOversizedFileIsRefusedNamingIt)
{
    Profile p;
    QString error;
    EXPECT_FALSE(ProfileFile::read("/nonexistent/dir/shop.qvp", p, error));
    EXPECT_TRUE(error.contains("/nonexistent/dir/shop.qvp"));

    QTemporaryDir dir;
    QFile big(dir.filePath("big.qvp"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(65LL * 1024 * 1024));
    big.close();
    EXPECT_FALSE(ProfileFile::read(big.fileName(), p, error));
    EXPECT_TRUE(error.contains("MB")) << error.toStdString();
}

// A backup holds what the device gave, even what a write would refuse: a named cashier after an
// unnamed one reads back from the file; only a restore of that set is refused.
TEST(ProfileFile, DevicesOwnCashierTableWithAGapReadsBack)
{
    Profile p = sample();
    QJsonObject cashiers = cashiersSet();
    QJsonArray list = cashiers["cashiers"].toArray();
    list[5] = QJsonObject{{"number", 6}, {"name", "Ж"}}; // after unnamed 3..5, and one character only
    cashiers["cashiers"] = list;
    p.sets["cashiers"] = cashiers;

    Profile back;
    QString error;
    ASSERT_TRUE(ProfileFile::decode(ProfileFile::encode(p), back, error)) << error.toStdString();
    EXPECT_EQ(back.sets["cashiers"], cashiers);
}

// A version number past any integer is refused as no version (it once overflowed the conversion).
TEST(ProfileFile, HugeVersionNumberIsRefusedAsNoVersion)
{
    QByteArray bytes = ProfileFile::encode(sample());
    bytes.replace("\"version\": 1", "\"version\": 5555555555555555555555551");
    ASSERT_TRUE(bytes.contains("5555555555555555555555551"));
    EXPECT_NE(refusal(bytes).find("version"), std::string::npos);
}

// A time whose UTC form falls outside years 1..9999 has no written form: it is refused instead of
// being taken and then written out empty (it once broke reading back what was written).
TEST(ProfileFile, TakenTimeAtTheCalendarsEdgesIsRefused)
{
    for (const char *edge : {"0001-01-01T00:00:00+05:00", "9999-12-31T23:00:00-05:00"}) {
        QByteArray bytes = ProfileFile::encode(sample());
        bytes.replace("2026-12-09T10:00:00Z", edge);
        ASSERT_TRUE(bytes.contains(edge));
        EXPECT_NE(refusal(bytes).find("taken"), std::string::npos) << edge;
    }
    QByteArray inRange = ProfileFile::encode(sample());
    inRange.replace("2026-12-09T10:00:00Z", "0001-01-01T10:00:00+05:00");
    Profile back;
    QString error;
    ASSERT_TRUE(ProfileFile::decode(inRange, back, error)) << error.toStdString();
    EXPECT_EQ(ProfileFile::encode(back).contains("\"taken\": \"0001-01-01T05:00:00Z\""), true);
}
