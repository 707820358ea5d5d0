// Comparing a profile with what a device holds: only what a restore would write counts, line by line.

#include "ProfileComparison.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {
QJsonObject cashiers(const QString &second)
{
    QJsonArray list;
    for (int i = 1; i <= 64; ++i)
        list.append(QJsonObject{{"number", i},
                                {"name", i == 1   ? QJsonValue("Ана")
                                         : i == 2 ? QJsonValue(second)
                                                  : QJsonValue()}});
    return QJsonObject{{"cashiers", list}};
}

QJsonObject article(int number, const QString &price)
{
    return QJsonObject{{"number", number}, {"name", "Млеко"}, {"barcode", ""},
                       {"department", 1},  {"price", price},  {"taxGroup", "А"}};
}

QJsonObject taxGroups(const QString &rate, int remaining)
{
    QJsonArray groups;
    for (const char *letter : {"А", "Г", "Д", "Ђ", "Е", "Ж", "И", "Ј", "К"})
        groups.append(QJsonObject{{"letter", QString::fromUtf8(letter)},
                                  {"rate", letter[1] == '\x90' ? QJsonValue(rate) : QJsonValue()}});
    return QJsonObject{{"groups", groups}, {"remainingChanges", remaining}, {"lastChange", QJsonValue()}};
}

Profile device()
{
    Profile p;
    p.sets["fiscal"] = QJsonObject{{"cashRegisterSerial", "AB1"}, {"fiscalMemorySerial", "FM1"}};
    p.sets["taxgroups"] = taxGroups("20.00", 30);
    p.sets["articles"] = QJsonObject{{"articles", QJsonArray{article(5, "10.00"), article(9, "20.00")}}};
    p.sets["cashiers"] = cashiers("Бојан");
    return p;
}
} // namespace

TEST(ProfileComparison, SameDataIsEqualAndTheDevicesOwnCountersAreNoDifference)
{
    Profile saved = device();
    saved.sets["taxgroups"] = taxGroups("20.00", 12); // fewer changes left when the backup was taken
    const ProfileComparison c = compareProfiles(saved, device());
    EXPECT_TRUE(c.equal()) << c.text().toStdString();
    EXPECT_TRUE(c.identityNote.isEmpty());
    ASSERT_EQ(c.sets.size(), 3u); // not the fiscal identity
    EXPECT_EQ(c.sets[0].set, "taxgroups");
    EXPECT_EQ(c.sets[1].set, "articles");
    EXPECT_EQ(c.sets[2].set, "cashiers");
    EXPECT_EQ(c.text(), "taxgroups: исто\narticles: исто\ncashiers: исто\n");
}

TEST(ProfileComparison, ChangedArticleAndCashierAreExactlyTheDifferences)
{
    Profile saved = device();
    Profile now = device();
    now.sets["articles"] =
        QJsonObject{{"articles", QJsonArray{article(5, "10.00"), article(9, "25.50"), article(12, "1.00")}}};
    now.sets["cashiers"] = cashiers("Весна");
    const ProfileComparison c = compareProfiles(saved, now);
    EXPECT_FALSE(c.equal());
    ASSERT_EQ(c.sets.size(), 3u);
    EXPECT_EQ(c.sets[0].state, SetComparison::State::Equal);
    EXPECT_EQ(c.sets[1].state, SetComparison::State::Different);
    EXPECT_EQ(c.sets[1].articleNumbers, (std::vector<int>{9, 12}));
    EXPECT_EQ(c.sets[1].differences,
              (QStringList{"артикала који се разликују: 2 (бројеви: 9, 12)", "артикал 9: price: „20.00“ → „25.50“",
                           "артикал 12: name: „“ → „Млеко“; price: „0.00“ → „1.00“"}));
    EXPECT_EQ(c.sets[2].differences, QStringList{"cashiers 2.name: „Бојан“ → „Весна“"});
}

TEST(ProfileComparison, OtherPrinterIsANoteAndSetsMissingOnEitherSideAreNamed)
{
    Profile saved = device();
    saved.sets["fiscal"] = QJsonObject{{"cashRegisterSerial", "XY9"}, {"fiscalMemorySerial", "FM9"}};
    saved.sets.remove("cashiers");
    saved.sets["departments"] = QJsonObject{{"departments", QJsonArray{}}, {"restaurantMode", false}};
    const ProfileComparison c = compareProfiles(saved, device());
    EXPECT_TRUE(c.identityNote.contains("XY9 / FM9")) << c.identityNote.toStdString();
    EXPECT_TRUE(c.identityNote.contains("AB1 / FM1"));
    ASSERT_EQ(c.sets.size(), 4u);
    EXPECT_EQ(c.sets[1].set, "departments");
    EXPECT_EQ(c.sets[1].state, SetComparison::State::NotRead);
    EXPECT_EQ(c.sets[3].set, "cashiers");
    EXPECT_EQ(c.sets[3].state, SetComparison::State::NotInProfile);
    // What could not be read is not "equal"; what the profile does not hold is no difference.
    EXPECT_FALSE(c.equal());
    saved.sets.remove("departments");
    EXPECT_TRUE(compareProfiles(saved, device()).equal());
    EXPECT_TRUE(compareProfiles(saved, device()).text().startsWith(c.identityNote + "\n"));
}

TEST(ProfileComparison, ManyDifferingArticlesShowTheFirstFewAndCountThemAll)
{
    Profile saved, now;
    QJsonArray many;
    for (int n = 1; n <= 30; ++n)
        many.append(article(n, "3.00"));
    saved.sets["articles"] = QJsonObject{{"articles", many}};
    now.sets["articles"] = QJsonObject{{"articles", QJsonArray{}}};
    const ProfileComparison c = compareProfiles(saved, now);
    ASSERT_EQ(c.sets.size(), 1u);
    EXPECT_EQ(c.sets[0].articleNumbers.size(), 30u);
    EXPECT_EQ(c.sets[0].differences.size(), 6); // the count and five articles
    EXPECT_TRUE(c.sets[0].differences[0].endsWith("19, 20, …)")) << c.sets[0].differences[0].toStdString();
}
