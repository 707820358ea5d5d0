#include "ArticleFileFormat.h"

namespace {
constexpr QChar kQuote = u'"';
} // namespace

QChar ArticleFileFormat::listSeparator(const QLocale &locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? QChar(u';') : QChar(u',');
}

QString ArticleFileFormat::formatLine(const Fields &c, QChar s)
{
    QString line;
    line.reserve(c[0].size() + c[1].size() + c[2].size() + c[3].size() + c[4].size() + c[5].size() + 11);
    line += c[0];
    line += s;
    line += kQuote;
    line += c[1];
    line += kQuote;
    line += s;
    line += kQuote;
    line += c[2];
    line += kQuote;
    line += s;
    line += c[3];
    line += s;
    line += c[4];
    line += s;
    line += kQuote;
    line += c[5];
    line += kQuote;
    return line;
}

ArticleFileFormat::Fields ArticleFileFormat::parseLine(QStringView line, QChar s)
{
    bool fits = false;
    return parseLine(line, s, fits);
}

ArticleFileFormat::Fields ArticleFileFormat::parseLine(QStringView line, QChar s, bool &fits)
{
    Fields f;
    fits = false;
    const qsizetype n = line.size();
    if (n == 0)
        return f;
    // Positions count from 1; a search that finds nothing gives 0.
    const QChar sq[2] = {s, kQuote};
    const QChar qsq[3] = {kQuote, s, kQuote};
    const QChar qs[2] = {kQuote, s};
    auto find = [&](QStringView what, qsizetype from) -> qsizetype {
        if (from < 1 || from > n)
            return 0;
        const qsizetype at = line.indexOf(what, from - 1);
        return at < 0 ? 0 : at + 1;
    };
    // Characters first..last (1-based, inclusive); empty when the range is empty or past the end.
    auto take = [&](qsizetype first, qsizetype last) -> QString {
        if (first < 1)
            first = 1;
        if (last > n)
            last = n;
        return first > last ? QString() : line.mid(first - 1, last - first + 1).toString();
    };
    const qsizetype p1 = find(QStringView(sq, 2), 1);
    const qsizetype p2 = find(QStringView(qsq, 3), p1 + 2);
    const qsizetype p3 = find(QStringView(qs, 2), p2 + 3);
    const qsizetype p4 = find(QStringView(&s, 1), p3 + 2);
    const qsizetype p5 = find(QStringView(sq, 2), p4 + 1);
    if (p1 > 1)
        f[0] = take(1, p1 - 1);
    if (p1 > 1 && p2 > 1)
        f[1] = take(p1 + 2, p2 - 1);
    if (p2 > 1 && p3 > 1)
        f[2] = take(p2 + 3, p3 - 1);
    if (p3 > 1 && p4 > 1)
        f[3] = take(p3 + 2, p4 - 1);
    if (p4 > 1 && p5 > 1)
        f[4] = take(p4 + 1, p5 - 1);
    if (p4 > 1)
        f[5] = take(p5 + 2, n - 1);
    auto plain = [&](const QString &field) { return !field.contains(s) && !field.contains(kQuote); };
    fits = p1 > 1 && p2 > 1 && p3 > 1 && p4 > 1 && p5 > 1 && n >= p5 + 2 && line.at(n - 1) == kQuote && plain(f[3]) &&
           plain(f[4]);
    return f;
}

std::optional<char> ArticleFileFormat::separatorOf(const char *line, qsizetype length)
{
    qsizetype i = 0;
    while (i < length && line[i] >= '0' && line[i] <= '9')
        ++i;
    if (i == 0 || i + 1 >= length || line[i + 1] != '"')
        return std::nullopt;
    const char c = line[i];
    const bool usable =
        (c == '\t' || (c > ' ' && c < 0x7F)) && c != '"' && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z');
    return usable ? std::optional<char>(c) : std::nullopt;
}
