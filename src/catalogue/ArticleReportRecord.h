#pragma once
// One line of the articles report and the list of them taken from the article table.

#include <QList>
#include <QString>

class ArticleModel;

struct ArticleReportRecord {
    // Field sizes in characters; a longer value is cut to its field.
    static constexpr int kSifraSize = 4;
    static constexpr int kNazivSize = 36;
    static constexpr int kBarkodSize = 14;
    static constexpr int kCenaSize = 9;
    static constexpr int kStopaSize = 1;
    // The report covers these table rows only.
    static constexpr int kFirstRow = 1;
    static constexpr int kLastRow = 61;

    QString sifra;
    QString naziv;
    QString barkod;
    QString cena;
    QString stopa;

    // The record of table row r: number, name, barcode, price as the table shows it, tax letter.
    static ArticleReportRecord fromRow(const ArticleModel &model, int r);
    // Records of rows 1..61 in order, rows with an empty name left out.
    static QList<ArticleReportRecord> collect(const ArticleModel &model);
};
