#pragma once
// The logo bitmap as a PNG picture and back, without Qt Gui: how a profile file stores the logo.

#include "LogoBitmap.h"

#include <QByteArray>
#include <QString>

class LogoPng {
public:
    // A 256 x 128 one-bit grey PNG: a printed dot is black, an empty one white.
    static QByteArray encode(const LogoBitmap &bitmap);
    // Reads a 256 x 128 PNG that is not interlaced: grey of 1, 2, 4 or 8 bits, grey with alpha, RGB,
    // RGBA (8 bits each) or a palette of up to 8 bits. A pixel darker than middle grey is a dot; a
    // pixel that is more than half transparent is empty. False, with `bitmap` untouched and `error`
    // saying what is wrong, for anything else (another size, 16 bits, a broken chunk or stream).
    static bool decode(const QByteArray &png, LogoBitmap &bitmap, QString &error);

    // The CRC-32 that PNG chunks carry (the one of zlib and Ethernet).
    static quint32 crc32(const QByteArray &bytes);
};
