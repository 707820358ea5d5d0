#pragma once
// Packing of the 256 x 128 logo into sixteen 256-byte blocks of 8 dot rows, one bit per dot.

#include <QByteArray>
#include <QImage>

#include <cstdint>

namespace LogoBlock {
inline constexpr int kWidth = 256;
inline constexpr int kHeight = 128;
inline constexpr int kBlockCount = 16;
inline constexpr int kRowsPerBlock = 8;
inline constexpr int kBytesPerRow = kWidth / 8;
inline constexpr int kBlockSize = kRowsPerBlock * kBytesPerRow; // 256

// A pixel is printed unless it is exactly white; a pixel outside the picture is white.
bool isDot(const QImage &image, int x, int y);
// Block k (rows 8k..8k+7): byte 32r + j holds dots x = 8j..8j+7 of row 8k + r, leftmost in bit 0x80.
QByteArray pack(const QImage &image, int block);
// Draws block k into rows 8k..8k+7 of a 256 x 128 image: set bits black, clear bits white.
// `data` holds kBlockSize bytes; an image of another size is left unchanged.
void unpack(const uint8_t *data, int block, QImage &image);
// A white 256 x 128 image in the format the logo is kept in.
QImage blank();
} // namespace LogoBlock
