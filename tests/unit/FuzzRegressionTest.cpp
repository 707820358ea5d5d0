// Replays every input the fuzzers once found troublesome (tests/fuzz-regressions/<target>/) and
// the seed corpora (fuzz/corpus/<target>/): after each one, the rules its entry checks must hold
// (an entry returns the number of the rule that broke).
#include "FuzzEntries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {
using Entry = std::function<int(const uint8_t *, size_t)>;

int replay(const QString &folder, const Entry &entry)
{
    const QDir dir(QStringLiteral(QUORVEL_SOURCE_DIR "/") + folder);
    int n = 0;
    for (const QString &name : dir.entryList(QDir::Files)) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray b = f.readAll();
        EXPECT_EQ(entry(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size())), 0)
            << folder.toStdString() << "/" << name.toStdString() << " broke the rule numbered above";
        ++n;
    }
    return n;
}

// The findings and the seeds of one target; both folders must hold inputs.
void replayAll(const QString &target, const Entry &entry)
{
    EXPECT_GT(replay(QStringLiteral("tests/fuzz-regressions/") + target, entry), 0);
    EXPECT_GT(replay(QStringLiteral("fuzz/corpus/") + target, entry), 0);
}

int feed(const Entry &entry, const QByteArray &b)
{
    return entry(reinterpret_cast<const uint8_t *>(b.constData()), size_t(b.size()));
}
} // namespace

TEST(FuzzRegressions, LinkInputsKeepTheLinkUsable)
{
    replayAll("link", FuzzLinkInput);
}

TEST(FuzzRegressions, SimInputsAreAnsweredAlikeInPiecesWithWholeFrames)
{
    replayAll("sim", FuzzSimInput);
}

TEST(FuzzRegressions, ArticleFileInputsParseAndLoadAsTheyStand)
{
    replayAll("article", FuzzArticleFileInput);
    replayAll("article", FuzzArticleLoadInput);
}

TEST(FuzzRegressions, LogoFileInputsLoadOpaqueOrLeaveTheLogo)
{
    replayAll("logo", FuzzLogoFileInput);
}

TEST(FuzzRegressions, BarcodeInputsMatchThePlainModel)
{
    replayAll("barcode", FuzzBarcodeInput);
}

// The link entry reaches what only a started chain or an open message reaches: a fiscal-memory
// dump that takes the device's blocks, and bytes that arrive while a message is open.
TEST(FuzzRegressions, LinkEntryStartsChainsAndDeliversWhileAMessageIsOpen)
{
    auto fmBlock = [](int k) {
        QByteArray data(130, char(0x11 * k));
        data[0] = char(k);
        data[1] = 0;
        return QByteArray("\x5F\xC0\x82", 3) + data + '\r';
    };
    // Dump started, per-byte delivery: block 0 is asked for at the start, 1..3 by the replies.
    const QByteArray dump = QByteArray(1, char(0x0F)) + fmBlock(0) + fmBlock(1) + fmBlock(2);
    ASSERT_EQ(feed(FuzzLinkInput, dump), 0);
    EXPECT_EQ(FuzzLinkLastReach().requests[0xC0], 4);
    EXPECT_EQ(FuzzLinkLastReach().dialogs, 0);
    EXPECT_EQ(FuzzLinkLastReach().nestedDeliveries, 0);

    // Per byte: a wrong block stops the dump with a message; while it is open the next piece of
    // the input arrives, an article reply, which is recognised once the message is closed; no
    // article chain runs, so it asks for no next article.
    QByteArray article(50, '\0');
    article[0] = 7;
    const QByteArray nested = QByteArray(1, char(0x2F)) + fmBlock(9) + QByteArray("\x5F\x80\x32", 3) + article + '\r';
    ASSERT_EQ(feed(FuzzLinkInput, nested), 0);
    EXPECT_EQ(FuzzLinkLastReach().requests[0xC0], 1); // the stopped dump asks for nothing more
    EXPECT_GE(FuzzLinkLastReach().dialogs, 1);
    EXPECT_GE(FuzzLinkLastReach().nestedDeliveries, 1);
    EXPECT_EQ(FuzzLinkLastReach().requests[0x80], 0);

    // Without a started dump, its replies reach nothing.
    ASSERT_EQ(feed(FuzzLinkInput, QByteArray(1, char(0x01)) + fmBlock(0)), 0);
    EXPECT_EQ(FuzzLinkLastReach().requests[0xC0], 0);
}
