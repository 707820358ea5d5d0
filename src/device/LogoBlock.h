#pragma once
// Packing of the 256 x 128 logo into sixteen 256-byte blocks of 8 dot rows, one bit per dot.

#include "LogoBitmap.h"

#include <QByteArray>

#include <cstdint>

namespace LogoBlock {
inline constexpr int kWidth = LogoBitmap::kWidth;
inline constexpr int kHeight = LogoBitmap::kHeight;
inline constexpr int kBlockCount = 16;
inline constexpr int kRowsPerBlock = 8;
inline constexpr int kBytesPerRow = kWidth / 8;
inline constexpr int kBlockSize = kRowsPerBlock * kBytesPerRow; // 256

// Block k (rows 8k..8k+7): byte 32r + j holds dots x = 8j..8j+7 of row 8k + r, leftmost in bit 0x80.
// A block number outside 0..15 gives 256 zero bytes.
QByteArray pack(const LogoBitmap &bitmap, int block);
// Sets rows 8k..8k+7 of the bitmap from block k: set bits are dots, clear bits are none.
// `data` holds kBlockSize bytes; a block number outside 0..15 changes nothing.
void unpack(const uint8_t *data, int block, LogoBitmap &bitmap);
} // namespace LogoBlock
