#include "LogoBlock.h"

namespace LogoBlock {

QByteArray pack(const LogoBitmap &bitmap, int block)
{
    QByteArray out(kBlockSize, '\0');
    if (block < 0 || block >= kBlockCount)
        return out;
    for (int r = 0; r < kRowsPerBlock; ++r) {
        const int y = block * kRowsPerBlock + r;
        for (int j = 0; j < kBytesPerRow; ++j) {
            uint8_t byte = 0;
            for (int b = 0; b < 8; ++b)
                if (bitmap.dot(8 * j + b, y))
                    byte |= uint8_t(0x80 >> b);
            out[r * kBytesPerRow + j] = char(byte);
        }
    }
    return out;
}

void unpack(const uint8_t *data, int block, LogoBitmap &bitmap)
{
    if (block < 0 || block >= kBlockCount)
        return;
    for (int r = 0; r < kRowsPerBlock; ++r) {
        const int y = block * kRowsPerBlock + r;
        for (int j = 0; j < kBytesPerRow; ++j) {
            const uint8_t byte = data[r * kBytesPerRow + j];
            for (int b = 0; b < 8; ++b)
                bitmap.setDot(8 * j + b, y, byte & (0x80 >> b));
        }
    }
}

} // namespace LogoBlock
