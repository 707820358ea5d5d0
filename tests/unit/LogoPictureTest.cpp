// The logo's blocks: which pixel is which bit, what counts as a dot, and what reading draws.
#include "LogoPicture.h"

#include <gtest/gtest.h>

namespace {
QImage filled(QColor c, int w = 256, int h = 128)
{
    QImage i(w, h, QImage::Format_RGB32);
    i.fill(c);
    return i;
}
} // namespace

TEST(LogoPicture, WhiteAndBlackPictures)
{
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(LogoPicture::pack(filled(Qt::white), k), QByteArray(256, '\0')) << k;
        EXPECT_EQ(LogoPicture::pack(filled(Qt::black), k), QByteArray(256, char(0xFF))) << k;
    }
}

TEST(LogoPicture, CornerPixelsAndBitOrder)
{
    QImage i = filled(Qt::white);
    i.setPixel(0, 0, qRgb(0, 0, 0));
    i.setPixel(255, 127, qRgb(0, 0, 0));
    i.setPixel(9, 8, qRgb(0, 0, 0)); // block 1, row 0, byte 1, second dot from the left
    const QByteArray b0 = LogoPicture::pack(i, 0);
    EXPECT_EQ(uint8_t(b0.at(0)), 0x80);
    EXPECT_EQ(b0.count('\0'), 255);
    const QByteArray b1 = LogoPicture::pack(i, 1);
    EXPECT_EQ(uint8_t(b1.at(1)), 0x40);
    EXPECT_EQ(b1.count('\0'), 255);
    const QByteArray b15 = LogoPicture::pack(i, 15);
    EXPECT_EQ(uint8_t(b15.at(255)), 0x01);
    EXPECT_EQ(b15.count('\0'), 255);
}

TEST(LogoPicture, AnythingNotExactlyWhiteIsADot)
{
    QImage i = filled(Qt::white);
    i.setPixel(0, 0, qRgb(254, 255, 255));
    i.setPixel(1, 0, qRgb(255, 254, 255));
    i.setPixel(2, 0, qRgb(255, 255, 254));
    i.setPixel(3, 0, qRgb(255, 255, 255));
    EXPECT_EQ(uint8_t(LogoPicture::pack(i, 0).at(0)), 0xE0);
}

TEST(LogoPicture, PixelsOutsideASmallerPictureAreWhite)
{
    const QImage small = filled(Qt::black, 10, 9);
    const QByteArray b0 = LogoPicture::pack(small, 0);
    EXPECT_EQ(uint8_t(b0.at(0)), 0xFF);
    EXPECT_EQ(uint8_t(b0.at(1)), 0xC0); // x = 8, 9 only
    EXPECT_EQ(uint8_t(b0.at(2)), 0x00);
    const QByteArray b1 = LogoPicture::pack(small, 1);
    EXPECT_EQ(uint8_t(b1.at(0)), 0xFF);  // row 8
    EXPECT_EQ(uint8_t(b1.at(32)), 0x00); // row 9 is outside
    EXPECT_EQ(LogoPicture::pack(small, 2), QByteArray(256, '\0'));
    EXPECT_EQ(LogoPicture::pack(QImage(), 0), QByteArray(256, '\0'));
}

TEST(LogoPicture, UnpackDrawsOnlyItsRows)
{
    QImage i = filled(qRgb(10, 200, 30));
    QByteArray data(256, '\0');
    data[0] = char(0x80);
    data[255] = char(0x01);
    LogoPicture::unpack(reinterpret_cast<const uint8_t *>(data.constData()), 3, i);
    EXPECT_EQ(i.pixel(0, 24), qRgb(0, 0, 0));
    EXPECT_EQ(i.pixel(1, 24), qRgb(255, 255, 255));
    EXPECT_EQ(i.pixel(255, 31), qRgb(0, 0, 0));
    EXPECT_EQ(i.pixel(0, 23), qRgb(10, 200, 30));
    EXPECT_EQ(i.pixel(0, 32), qRgb(10, 200, 30));
}

TEST(LogoPicture, PackUnpackRoundTrip)
{
    QImage src = filled(Qt::white);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x)
            if ((x * 7 + y * 13) % 5 == 0)
                src.setPixel(x, y, qRgb(0, 0, 0));
    QImage dst = LogoPicture::blank();
    for (int k = 0; k < 16; ++k) {
        const QByteArray b = LogoPicture::pack(src, k);
        LogoPicture::unpack(reinterpret_cast<const uint8_t *>(b.constData()), k, dst);
    }
    EXPECT_EQ(dst, src);
}
