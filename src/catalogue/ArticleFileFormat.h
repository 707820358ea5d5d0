#pragma once
// The article file's line layout: one article per line, fields split by the list separator.

#include <QChar>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

class ArticleFileFormat {
public:
    static constexpr int kFields = 6;
    // Number, name, barcode, department, price, tax-group letter (the grid's columns 0..5).
    using Fields = std::array<QString, kFields>;

    // ';' when the locale's decimal separator is ',', otherwise ','.
    static QChar listSeparator(const QLocale &locale = QLocale());

    // One line without its line end: number S "name" S "barcode" S department S price S "letter",
    // the cells written as they stand (nothing escaped, doubled or trimmed).
    static QString formatLine(const Fields &cells, QChar separator);

    // The six fields of one line (without its line end), found by searching for the separator and
    // quote sequences the saved layout puts around them. A line the search does not fit gives empty
    // or shifted fields, as the file holds them; nothing is validated.
    static Fields parseLine(QStringView line, QChar separator);
    // The same; `fits` tells whether the line has the saved layout: every separator and quote found
    // where a saved line has them, the line ending in a quote, and no separator or quote inside the
    // department and price fields (which a name or barcode holding them would shift there).
    static Fields parseLine(QStringView line, QChar separator, bool &fits);

    // The separator a line was written with, read from how every saved line begins: digits, the
    // separator, a quote. A tab or a printable ASCII character other than a digit, a letter or a quote counts; none
    // when the line does not begin so.
    static std::optional<char> separatorOf(const char *line, qsizetype length);
};
