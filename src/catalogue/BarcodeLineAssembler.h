#pragma once
// Collects the characters a barcode scanner sends and recognises a complete code ending in CR LF.

#include <QByteArray>

#include <array>
#include <optional>

class BarcodeLineAssembler {
public:
    static constexpr int kCapacity = 20;

    // Appends one receive chunk. When the bytes collected then end with CR LF, returns the bytes
    // before those two (possibly empty) and empties the buffer; otherwise keeps collecting.
    // More than 20 bytes without a complete line: only the newest 20 are kept.
    std::optional<QByteArray> addChunk(const QByteArray &chunk);
    // Empty buffer: all 20 bytes zero, count 0.
    void clear();

    int count() const { return count_; }
    QByteArray collected() const { return QByteArray(buffer_.data(), count_); }
    // Bytes pushed out of the buffer by an overlong line since the last clear().
    qint64 dropped() const { return dropped_; }

private:
    void append(char c);

    std::array<char, kCapacity> buffer_{};
    int count_ = 0;
    qint64 dropped_ = 0;
};
