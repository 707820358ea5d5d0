// The logo as PNG inside profile files: what the codec writes, what it reads from other writers, and what it refuses.

#include "LogoPng.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <random>

namespace {
LogoBitmap randomLogo(unsigned seed)
{
    std::mt19937 rng(seed);
    LogoBitmap b;
    for (int y = 0; y < LogoBitmap::kHeight; ++y)
        for (int x = 0; x < LogoBitmap::kWidth; ++x)
            b.setDot(x, y, (rng() & 3) == 0);
    return b;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return bytes;
}

// A picture of the logo's size: dark where the bitmap has a dot.
QImage picture(const LogoBitmap &b, QImage::Format format)
{
    QImage image(LogoBitmap::kWidth, LogoBitmap::kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < LogoBitmap::kHeight; ++y)
        for (int x = 0; x < LogoBitmap::kWidth; ++x)
            image.setPixel(x, y, b.dot(x, y) ? qRgb(20, 30, 40) : qRgb(230, 240, 250));
    return image.convertToFormat(format, Qt::ThresholdDither);
}
} // namespace

TEST(LogoPng, WrittenPictureReadsBackAndOtherReadersSeeTheSameDots)
{
    const LogoBitmap logo = randomLogo(7);
    const QByteArray bytes = LogoPng::encode(logo);
    LogoBitmap back;
    QString error;
    ASSERT_TRUE(LogoPng::decode(bytes, back, error)) << error.toStdString();
    EXPECT_TRUE(back == logo);

    const QImage image = QImage::fromData(bytes, "PNG");
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), QSize(LogoBitmap::kWidth, LogoBitmap::kHeight));
    int mismatches = 0;
    for (int y = 0; y < LogoBitmap::kHeight; ++y)
        for (int x = 0; x < LogoBitmap::kWidth; ++x)
            mismatches += (qGray(image.pixel(x, y)) < 128) != logo.dot(x, y);
    EXPECT_EQ(mismatches, 0);
}

TEST(LogoPng, CommonPicturesOfOtherWritersAreRead)
{
    const LogoBitmap logo = randomLogo(11);
    for (const QImage::Format format : {QImage::Format_Mono, QImage::Format_Grayscale8, QImage::Format_RGB888,
                                        QImage::Format_ARGB32, QImage::Format_Indexed8}) {
        LogoBitmap back;
        QString error;
        EXPECT_TRUE(LogoPng::decode(png(picture(logo, format)), back, error))
            << int(format) << ": " << error.toStdString();
        EXPECT_TRUE(back == logo) << int(format);
    }
    // Transparent pixels are empty, whatever colour they carry.
    QImage clear(LogoBitmap::kWidth, LogoBitmap::kHeight, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    clear.setPixel(5, 6, qRgba(0, 0, 0, 255));
    LogoBitmap back = randomLogo(3);
    QString error;
    ASSERT_TRUE(LogoPng::decode(png(clear), back, error)) << error.toStdString();
    LogoBitmap one;
    one.setDot(5, 6, true);
    EXPECT_TRUE(back == one);
}

// A smooth picture makes the writer use every row filter (sub, up, average, Paeth); each dot must
// come out as the pixel's own brightness says.
TEST(LogoPng, FilteredRowsOfASmoothPictureAreUndoneExactly)
{
    for (const QImage::Format format : {QImage::Format_RGB888, QImage::Format_Grayscale8, QImage::Format_ARGB32}) {
        QImage image(LogoBitmap::kWidth, LogoBitmap::kHeight, QImage::Format_ARGB32);
        for (int y = 0; y < LogoBitmap::kHeight; ++y)
            for (int x = 0; x < LogoBitmap::kWidth; ++x)
                image.setPixel(x, y, qRgb((x * 3 + y) % 256, (y * 5 + x / 2) % 256, (x * y / 7) % 256));
        image = image.convertToFormat(format);
        LogoBitmap back;
        QString error;
        ASSERT_TRUE(LogoPng::decode(png(image), back, error)) << error.toStdString();
        int mismatches = 0;
        for (int y = 0; y < LogoBitmap::kHeight; ++y)
            for (int x = 0; x < LogoBitmap::kWidth; ++x) {
                const QRgb p = image.pixel(x, y);
                const bool dark = (299 * qRed(p) + 587 * qGreen(p) + 114 * qBlue(p)) / 1000 < 128;
                mismatches += dark != back.dot(x, y);
            }
        EXPECT_EQ(mismatches, 0) << int(format);
    }
}

TEST(LogoPng, OtherSizesDeepPicturesAndBrokenBytesAreRefusedLeavingTheBitmap)
{
    const LogoBitmap before = randomLogo(5);
    const auto refused = [&before](const QByteArray &bytes, const char *expect) {
        LogoBitmap b = before;
        QString error;
        const bool read = LogoPng::decode(bytes, b, error);
        EXPECT_FALSE(read) << expect;
        EXPECT_TRUE(b == before) << expect;
        EXPECT_TRUE(error.contains(QString::fromUtf8(expect))) << expect << " / " << error.toStdString();
    };
    refused(png(QImage(100, 50, QImage::Format_RGB888)), "100 × 50");
    QImage deep(LogoBitmap::kWidth, LogoBitmap::kHeight, QImage::Format_Grayscale16);
    deep.fill(0);
    refused(png(deep), "не чита");
    refused(QByteArray("GIF89a........"), "није PNG");

    const QByteArray good = LogoPng::encode(before);
    QByteArray flipped = good;
    flipped[40] = char(flipped[40] ^ 0x01); // inside IDAT: its checksum no longer holds
    refused(flipped, "оштећена");
    refused(good.left(good.size() - 20), "оштећена");
}

TEST(LogoPng, ChecksumIsTheStandardOne)
{
    EXPECT_EQ(LogoPng::crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(LogoPng::crc32("IEND"), 0xAE426082u);
}
