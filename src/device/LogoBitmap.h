#pragma once
// The 256 x 128 logo as plain dots, row 0 at the top: set dots are printed black, clear ones stay white.

#include <QStringList>

#include <bitset>

class LogoBitmap {
public:
    static constexpr int kWidth = 256;
    static constexpr int kHeight = 128;
    // Characters of the text rows: a printed dot and an empty one.
    static constexpr char kDotChar = '#';
    static constexpr char kEmptyChar = '.';

    // A dot outside the bitmap reads as empty; setting one there does nothing.
    bool dot(int x, int y) const { return inside(x, y) && dots_[size_t(y * kWidth + x)]; }
    void setDot(int x, int y, bool on)
    {
        if (inside(x, y))
            dots_[size_t(y * kWidth + x)] = on;
    }

    // 128 rows of 256 characters, '#' for a dot and '.' for none.
    QStringList rows() const;
    // Reads rows(); false, with `bitmap` untouched, when there are not exactly 128 rows of exactly
    // 256 of those characters; `badRow` then says which row is wrong (the missing or the extra one).
    static bool fromRows(const QStringList &rows, LogoBitmap &bitmap, int *badRow = nullptr);

    friend bool operator==(const LogoBitmap &a, const LogoBitmap &b) { return a.dots_ == b.dots_; }

private:
    static bool inside(int x, int y) { return x >= 0 && x < kWidth && y >= 0 && y < kHeight; }
    std::bitset<size_t(kWidth) * kHeight> dots_;
};
