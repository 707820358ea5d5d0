#pragma once
// The logo as the window shows it: conversion between a picture and the device's 256 x 128 dots.

#include "LogoBitmap.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>

namespace LogoPicture {
// A pixel is printed unless it is exactly white; a pixel outside the picture is white.
bool isDot(const QImage &image, int x, int y);
// The dots of a picture of any size, from its top-left corner.
LogoBitmap toBitmap(const QImage &image);
// Draws rows first..first+count-1 of the bitmap into a 256 x 128 image: dots black, the rest
// white. An image of another size is left unchanged.
void drawRows(const LogoBitmap &bitmap, int first, int count, QImage &image);
// Logo block k of a picture, as it travels (see LogoBlock::pack).
QByteArray pack(const QImage &image, int block);
// Draws block k into rows 8k..8k+7 of a 256 x 128 image: set bits black, clear bits white.
// `data` holds LogoBlock::kBlockSize bytes; an image of another size is left unchanged.
void unpack(const uint8_t *data, int block, QImage &image);
// A white 256 x 128 image in the format the logo is kept in.
QImage blank();
} // namespace LogoPicture
