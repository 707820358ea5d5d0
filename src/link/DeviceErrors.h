#pragma once
// Texts of the errors the device reports: status-word bits and error-reply codes.

#include <QString>

#include <cstdint>

// Text of every set bit of the status word made of the four bytes, most significant first:
// "/" + text + "(" + n + ")" for n = 0..31 ascending; empty when no bit is set.
QString DescribeDeviceError(uint8_t b12, uint8_t b13, uint8_t b14, uint8_t b15);
// Text of an error code of the error reply 0xF5; "Покушајте поново !!!" for unknown codes.
QString DeviceErrorCodeText(int code);
