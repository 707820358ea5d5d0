#include "BarcodeLineAssembler.h"

#include <algorithm>

void BarcodeLineAssembler::clear()
{
    buffer_.fill(0);
    count_ = 0;
    dropped_ = 0;
}

void BarcodeLineAssembler::append(char c)
{
    if (count_ == kCapacity) {
        // A full buffer without a line end: the oldest byte makes room, so a code that follows
        // stray characters still arrives whole (codes are far shorter than 20 bytes).
        std::move(buffer_.begin() + 1, buffer_.end(), buffer_.begin());
        --count_;
        ++dropped_;
    }
    buffer_[size_t(count_++)] = c;
}

std::optional<QByteArray> BarcodeLineAssembler::addChunk(const QByteArray &chunk)
{
    qsizetype from = 0;
    if (chunk.size() >= kCapacity) {
        // Only the newest 20 bytes can survive: skip the rest at once.
        from = chunk.size() - kCapacity;
        dropped_ += count_ + from;
        count_ = 0;
    }
    for (qsizetype i = from; i < chunk.size(); ++i)
        append(chunk.at(i));
    if (count_ >= 2 && buffer_[size_t(count_ - 2)] == '\r' && buffer_[size_t(count_ - 1)] == '\n') {
        QByteArray code(buffer_.data(), count_ - 2);
        clear();
        return code;
    }
    return std::nullopt;
}
