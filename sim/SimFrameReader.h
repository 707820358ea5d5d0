#pragma once
// Splits the byte stream a simulated device receives into complete short and long requests.

#include <QByteArray>

#include <cstdint>

struct SimRequest;

class SimFrameReader {
public:
    // Longest run of bytes kept while no frame completes; garbage beyond it is dropped.
    static constexpr qsizetype kMaxPending = 4096;

    void append(const QByteArray &bytes);
    // Takes the next complete request off the stream; false when none is complete yet.
    bool take(SimRequest &request);
    void clear() { pending_.clear(); }
    qsizetype pendingSize() const { return pending_.size(); }

private:
    QByteArray pending_;
};
