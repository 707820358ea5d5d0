// Replays the profile reader's fuzz findings (tests/fuzz-regressions/profile/) and its seed corpus
// (fuzz/corpus/profile/): after each file the reader's rules must hold.

#include "FuzzEntriesProfile.h"
#include "Profile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {
int replay(const QString &folder)
{
    const QDir dir(QStringLiteral(QUORVEL_SOURCE_DIR "/") + folder);
    int n = 0;
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray b = f.readAll();
        EXPECT_EQ(FuzzProfileInput(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size())), 0)
            << folder.toStdString() << "/" << name.toStdString() << " broke the rule numbered above";
        ++n;
    }
    return n;
}
} // namespace

TEST(FuzzRegressions, ProfileInputsAreReadBackAlikeOrRefusedLeavingTheProfile)
{
    EXPECT_GT(replay(QStringLiteral("tests/fuzz-regressions/profile")), 0);
    EXPECT_GT(replay(QStringLiteral("fuzz/corpus/profile")), 0);
}

// The seeds reach what they are there for: a whole profile and a palette logo are read, the
// others are refused.
TEST(FuzzRegressions, ProfileSeedsAreReadOrRefusedAsNamed)
{
    const auto accepted = [](const char *name) {
        QFile f(QStringLiteral(QUORVEL_SOURCE_DIR "/fuzz/corpus/profile/") + QLatin1String(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray b = f.readAll();
        Profile p;
        QString error;
        return ProfileFile::decode(b, p, error);
    };
    EXPECT_TRUE(accepted("full.qvp"));
    EXPECT_TRUE(accepted("palette_logo.qvp"));
    EXPECT_TRUE(accepted("incomplete.qvp"));
    EXPECT_FALSE(accepted("newer_version.qvp"));
    EXPECT_FALSE(accepted("other_format.json"));
    EXPECT_FALSE(accepted("broken_json.qvp"));
}
