// Replays every input the fuzzers once found troublesome (tests/fuzz-regressions/<target>/).
#include "FuzzEntries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {
int replayAll(const QString &target, const std::function<int(const uint8_t *, size_t)> &entry)
{
    const QDir dir(QStringLiteral(QUORVEL_SOURCE_DIR "/tests/fuzz-regressions/") + target);
    int n = 0;
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray b = f.readAll();
        EXPECT_EQ(entry(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size())), 0) << name.toStdString();
        ++n;
    }
    return n;
}
} // namespace

TEST(FuzzRegressions, LinkInputsReplayWithoutFault)
{
    EXPECT_GT(replayAll("link", FuzzLinkInput), 0);
}

TEST(FuzzRegressions, SimInputsReplayWithoutFault)
{
    EXPECT_GT(replayAll("sim", FuzzSimInput), 0);
}

TEST(FuzzRegressions, ArticleFileInputsReplayWithoutFault)
{
    EXPECT_GT(replayAll("article", FuzzArticleFileInput), 0);
}

TEST(FuzzRegressions, LogoFileInputsReplayWithoutFault)
{
    EXPECT_GT(replayAll("logo", FuzzLogoFileInput), 0);
}

TEST(FuzzRegressions, BarcodeInputsReplayWithoutFault)
{
    EXPECT_GT(replayAll("barcode", FuzzBarcodeInput), 0);
}
