#include "LogoBlock.h"

namespace LogoBlock {

bool isDot(const QImage &image, int x, int y)
{
    if (!image.valid(x, y))
        return false;
    const QRgb c = image.pixel(x, y);
    return qRed(c) != 255 || qGreen(c) != 255 || qBlue(c) != 255;
}

QByteArray pack(const QImage &image, int block)
{
    QByteArray out(kBlockSize, '\0');
    if (block < 0 || block >= kBlockCount)
        return out;
    for (int r = 0; r < kRowsPerBlock; ++r) {
        const int y = block * kRowsPerBlock + r;
        for (int j = 0; j < kBytesPerRow; ++j) {
            uint8_t byte = 0;
            for (int b = 0; b < 8; ++b)
                if (isDot(image, 8 * j + b, y))
                    byte |= uint8_t(0x80 >> b);
            out[r * kBytesPerRow + j] = char(byte);
        }
    }
    return out;
}

void unpack(const uint8_t *data, int block, QImage &image)
{
    if (block < 0 || block >= kBlockCount || image.width() != kWidth || image.height() != kHeight)
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    for (int r = 0; r < kRowsPerBlock; ++r) {
        const int y = block * kRowsPerBlock + r;
        for (int j = 0; j < kBytesPerRow; ++j) {
            const uint8_t byte = data[r * kBytesPerRow + j];
            for (int b = 0; b < 8; ++b)
                image.setPixel(8 * j + b, y, (byte & (0x80 >> b)) ? black : white);
        }
    }
}

QImage blank()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

} // namespace LogoBlock
