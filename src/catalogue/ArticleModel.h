#pragma once
// The article table: 60000 rows of six text columns, the only store of article data.

#include <QAbstractTableModel>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class ArticleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kArticles = 60000;
    static constexpr int kColumns = 6;
    enum Column { Number = 0, Name = 1, Barcode = 2, Department = 3, Price = 4, Tax = 5 };

    explicit ArticleModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Grid addressing: cell (column c, article r), r = 1..60000. Out-of-range reads give "".
    const QString &cell(int c, int r) const;
    void setCell(int c, int r, const QString &text);
    // Every row to its start-up values: r, "", "", "1", "0<decimal separator>00", "А".
    void fillStartup(const QLocale &locale = QLocale());
    // One row to its start-up values.
    void resetRow(int r, const QLocale &locale = QLocale());
    // The start-up price text "0.00" with the locale's decimal separator.
    static QString zeroPrice(const QLocale &locale = QLocale());

    using Row = std::array<QString, kColumns>;
    // The start-up values of row r.
    static Row startupRow(int r, const QLocale &locale = QLocale());
    // Replaces rows first, first + 1, ... with `rows` (those past 60000 are ignored) and
    // announces the change once, so that a whole-table load does not notify cell by cell.
    void setRows(int first, std::vector<Row> &&rows);
    // Column c of every article, article 1 first.
    QStringList columnTexts(int c) const;

    // The article number a text names: decimal digits only (blanks around them aside), 1..60000;
    // 0 for any other text.
    static int articleNumber(QStringView text);

private:
    std::vector<QString> cells_;
    QString empty_;
};
