#include "LogoBitmap.h"

QStringList LogoBitmap::rows() const
{
    QStringList out;
    out.reserve(kHeight);
    for (int y = 0; y < kHeight; ++y) {
        QString row(kWidth, QLatin1Char(kEmptyChar));
        for (int x = 0; x < kWidth; ++x)
            if (dot(x, y))
                row[x] = QLatin1Char(kDotChar);
        out.append(row);
    }
    return out;
}

bool LogoBitmap::fromRows(const QStringList &rows, LogoBitmap &bitmap, int *badRow)
{
    LogoBitmap read;
    for (int y = 0; y < rows.size(); ++y) {
        const QString &row = rows[y];
        bool fits = y < kHeight && row.size() == kWidth;
        for (int x = 0; fits && x < kWidth; ++x) {
            const QChar c = row[x];
            fits = c == QLatin1Char(kDotChar) || c == QLatin1Char(kEmptyChar);
            read.setDot(x, y, c == QLatin1Char(kDotChar));
        }
        if (!fits) {
            if (badRow)
                *badRow = y;
            return false;
        }
    }
    if (rows.size() != kHeight) {
        if (badRow)
            *badRow = int(rows.size());
        return false;
    }
    bitmap = read;
    return true;
}
