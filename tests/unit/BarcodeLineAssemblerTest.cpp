// Line assembly of the barcode scanner's characters: CR LF ends a code, at most 20 bytes are kept.
#include "BarcodeLineAssembler.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

TEST(BarcodeLineAssembler, CompleteLineInOneOrSeveralChunks)
{
    BarcodeLineAssembler a;
    EXPECT_EQ(a.addChunk("8600123456789\r\n"), QByteArray("8600123456789"));
    EXPECT_EQ(a.count(), 0);

    EXPECT_FALSE(a.addChunk("860012"));
    EXPECT_EQ(a.count(), 6);
    EXPECT_EQ(a.addChunk("3456789\r\n"), QByteArray("8600123456789"));

    // The line end itself split over two chunks.
    EXPECT_FALSE(a.addChunk("123\r"));
    EXPECT_EQ(a.addChunk("\n"), QByteArray("123"));
}

TEST(BarcodeLineAssembler, OnlyCrLfAtTheEndOfAChunkCompletesALine)
{
    BarcodeLineAssembler a;
    EXPECT_FALSE(a.addChunk("123\r"));
    EXPECT_EQ(a.collected(), QByteArray("123\r"));
    a.clear();
    EXPECT_FALSE(a.addChunk("123\n\r"));
    EXPECT_EQ(a.count(), 5);
    a.clear();
    // An empty line is a complete, empty code.
    const auto empty = a.addChunk("\r\n");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->isEmpty());
    // Two codes in one chunk form one text with the inner line end kept.
    EXPECT_EQ(a.addChunk("111\r\n222\r\n"), QByteArray("111\r\n222"));
    // A line end followed by more characters is not at the end: nothing yet.
    EXPECT_FALSE(a.addChunk("111\r\n22"));
    EXPECT_EQ(a.collected(), QByteArray("111\r\n22"));
}

TEST(BarcodeLineAssembler, OverlongInputKeepsTheNewestTwentyBytes)
{
    BarcodeLineAssembler a;
    EXPECT_FALSE(a.addChunk("ABCDEFGHIJKLMNOPQRSTUVWXYZ")); // 26 bytes, no line end
    EXPECT_EQ(a.count(), BarcodeLineAssembler::kCapacity);
    EXPECT_EQ(a.collected(), QByteArray("GHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_EQ(a.dropped(), 6);
    // Byte by byte the same.
    BarcodeLineAssembler b;
    for (char c : QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
        EXPECT_FALSE(b.addChunk(QByteArray(1, c)));
    EXPECT_EQ(b.collected(), a.collected());
    // A line end after the overflow: the text is the newest 18 bytes before it.
    EXPECT_EQ(a.addChunk("8600123456789\r\n"), QByteArray("VWXYZ8600123456789"));
    EXPECT_EQ(a.count(), 0);
    // After garbage has been pushed out, a normal code starts clean.
    EXPECT_EQ(a.addChunk("42\r\n"), QByteArray("42"));
}

// Random chunks against a plain model: an unbounded buffer of which only the last 20 bytes count.
TEST(BarcodeLineAssembler, FuzzAgainstModel)
{
    QRandomGenerator rng(20240607);
    const QByteArray alphabet("0123456789\r\n\rA\n\x00\xff", 17);
    BarcodeLineAssembler a;
    QByteArray model;
    for (int step = 0; step < 20000; ++step) {
        QByteArray chunk;
        const int n = int(rng.bounded(step % 97 == 0 ? 60 : 8));
        for (int i = 0; i < n; ++i)
            chunk.append(alphabet.at(int(rng.bounded(alphabet.size()))));
        model.append(chunk);
        model = model.right(BarcodeLineAssembler::kCapacity);
        const auto got = a.addChunk(chunk);
        ASSERT_LE(a.count(), BarcodeLineAssembler::kCapacity);
        if (model.endsWith("\r\n")) {
            ASSERT_TRUE(got.has_value()) << step;
            ASSERT_EQ(*got, model.left(model.size() - 2)) << step;
            model.clear();
        } else {
            ASSERT_FALSE(got.has_value()) << step;
            ASSERT_EQ(a.collected(), model) << step;
        }
    }
}
