#include "SimFrameReader.h"

#include "SimulatedDevice.h"

namespace {
constexpr uint8_t kStartShort = 0x5F;
constexpr uint8_t kStartLong = 0xAA;
constexpr uint8_t kCr = 0x0D;

// Data length of a short request: the length byte, except for the 256-byte logo blocks.
int shortDataLength(uint8_t code, uint8_t lengthByte)
{
    if ((code & 0xF0) == 0xD0)
        return 256;
    return lengthByte;
}
} // namespace

void SimFrameReader::append(const QByteArray &bytes)
{
    pending_.append(bytes);
}

bool SimFrameReader::take(SimRequest &request)
{
    for (;;) {
        // Skip anything that cannot start a frame.
        qsizetype start = 0;
        while (start < pending_.size() && uint8_t(pending_.at(start)) != kStartShort &&
               uint8_t(pending_.at(start)) != kStartLong)
            ++start;
        pending_.remove(0, start);
        // A stream that never forms a frame must not grow without bound.
        if (pending_.size() > kMaxPending)
            pending_.remove(0, pending_.size() - kMaxPending);
        if (pending_.size() < 3)
            return false;
        const auto at = [this](int i) { return uint8_t(pending_.at(i)); };
        if (at(0) == kStartShort) {
            const int total = shortDataLength(at(1), at(2)) + 4;
            if (pending_.size() < total)
                return false;
            if (at(total - 1) != kCr) {
                pending_.remove(0, 1); // not a frame after all: resynchronise
                continue;
            }
            request.longFrame = false;
            request.code = at(1);
            request.data = pending_.mid(3, total - 4);
            request.factory.clear();
            request.frame = pending_.left(total);
            pending_.remove(0, total);
            return true;
        }
        if (pending_.size() < 9)
            return false;
        const int total = at(8) + 12;
        if (pending_.size() < total)
            return false;
        uint8_t sum = 0, x = 0;
        for (int i = 0; i < total - 3; ++i) {
            sum = uint8_t(sum + at(i));
            x = uint8_t(x ^ at(i));
        }
        if (at(total - 1) != kCr || at(total - 3) != sum || at(total - 2) != x || at(1) != 0x04 || at(2) != 0x01) {
            pending_.remove(0, 1);
            continue;
        }
        request.longFrame = true;
        request.code = at(7);
        request.data = pending_.mid(9, at(8));
        request.factory = pending_.mid(3, 3);
        request.frame = pending_.left(total);
        pending_.remove(0, total);
        return true;
    }
}
