#pragma once
// Long request frames (start byte 0xAA), addressed by model identifier and factory number.

#include <QByteArray>
#include <QString>

#include <cstdint>

// AA 04 01 <3 factory bytes> 01 <command> <N> <data> <sum> <xor> 0D; sum and xor over all bytes before them.
QByteArray BuildLongFrame(const QString &factoryNumber, uint8_t command, const QByteArray &data = {});
