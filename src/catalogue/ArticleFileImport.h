#pragma once
// Reading an article file into table rows: its text encoding and separator, the row each line goes
// to, and the lines and fields the technician must hear about before the table changes.

#include "ArticleModel.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QLocale>
#include <QString>

#include <vector>

class ArticleFileImport {
public:
    enum class Encoding { Windows1251, Utf8 };
    // Line numbers (from 1) or article numbers: how many there are and the first few of them.
    struct Listing {
        static constexpr int kShown = 10;
        int count = 0;
        QList<int> first;
        void add(int n);
        // "1, 17, 240" and ", …" when there are more than shown.
        QString text() const;
    };

    // Reads the whole content of an article file. A line whose number field is an article number
    // (1..60000) fills that row; every other line is skipped. Rows no line names keep their start-up
    // values, and the number column always holds the row's own number.
    static ArticleFileImport read(const QByteArray &bytes, const QLocale &locale = QLocale());

    Encoding encoding = Encoding::Windows1251;
    QChar separator;
    // Rows 1..60000 as the file gives them.
    std::vector<ArticleModel::Row> rows;
    // Lines that went into a row.
    int articles = 0;
    // Lines that are no article: a heading, an empty or wrong number (blank lines are not counted).
    Listing notArticles;
    // Article lines whose fields do not sit where the saved layout puts them (loaded as found).
    Listing misfits;
    // Lines naming an article an earlier line named already; the later line is the one kept.
    Listing repeated;
    // Articles whose name or barcode is longer than the device record carries.
    Listing tooLong;

    // True when something above is worth a question before the table is replaced.
    bool needsConfirmation() const;
    // The question put to the technician, naming the file by `fileName`.
    QString question(const QString &fileName) const;

    // What the device record carries of a name and of a barcode, in characters.
    static int nameCapacity();
    static int barcodeCapacity();
};
