#include "LogoPicture.h"

#include "LogoBlock.h"

namespace LogoPicture {

bool isDot(const QImage &image, int x, int y)
{
    if (!image.valid(x, y))
        return false;
    const QRgb c = image.pixel(x, y);
    return qRed(c) != 255 || qGreen(c) != 255 || qBlue(c) != 255;
}

LogoBitmap toBitmap(const QImage &image)
{
    LogoBitmap out;
    for (int y = 0; y < LogoBitmap::kHeight; ++y)
        for (int x = 0; x < LogoBitmap::kWidth; ++x)
            if (isDot(image, x, y))
                out.setDot(x, y, true);
    return out;
}

void drawRows(const LogoBitmap &bitmap, int first, int count, QImage &image)
{
    if (image.width() != LogoBitmap::kWidth || image.height() != LogoBitmap::kHeight)
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    for (int y = qMax(first, 0); y < qMin(first + count, LogoBitmap::kHeight); ++y)
        for (int x = 0; x < LogoBitmap::kWidth; ++x)
            image.setPixel(x, y, bitmap.dot(x, y) ? black : white);
}

QByteArray pack(const QImage &image, int block)
{
    return LogoBlock::pack(toBitmap(image), block);
}

void unpack(const uint8_t *data, int block, QImage &image)
{
    if (block < 0 || block >= LogoBlock::kBlockCount)
        return;
    LogoBitmap dots;
    LogoBlock::unpack(data, block, dots);
    drawRows(dots, block * LogoBlock::kRowsPerBlock, LogoBlock::kRowsPerBlock, image);
}

QImage blank()
{
    QImage image(LogoBitmap::kWidth, LogoBitmap::kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace LogoPicture
