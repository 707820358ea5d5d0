#pragma once
// The article table: 60000 rows of six text columns, the only store of article data.

#include <QAbstractTableModel>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

class ArticleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kArticles = 60000;
    static constexpr int kColumns = 6;
    enum Column { Number = 0, Name = 1, Barcode = 2, Department = 3, Price = 4, Tax = 5 };

    explicit ArticleModel(QObject *parent = nullptr);
    ~ArticleModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Grid addressing: cell (column c, article r), r = 1..60000. Out-of-range reads give "".
    QString cell(int c, int r) const;
    // An edit of the technician's (form, in-place edit, find bar): a text that differs marks the row changed.
    void setCell(int c, int r, const QString &text);
    // Every row to its start-up values: r, "", "", "1", "0<decimal separator>00", "А"; no row changed.
    void fillStartup(const QLocale &locale = QLocale());
    // One row to its start-up values (an edit: the row is marked changed when it was not fresh).
    void resetRow(int r, const QLocale &locale = QLocale());
    // The start-up price text "0.00" with the locale's decimal separator.
    static QString zeroPrice(const QLocale &locale = QLocale());

    using Row = std::array<QString, kColumns>;
    // The start-up values of row r.
    static Row startupRow(int r, const QLocale &locale = QLocale());
    // Replaces rows first, first + 1, ... with `rows` (those past 60000 are ignored) and
    // announces the change once, so that a whole-table load does not notify cell by cell. The rows
    // are as a file holds them: none of them is marked changed.
    void setRows(int first, std::vector<Row> &&rows);
    // Row r as the device holds it (a read): columns 1..5 take the texts, the row is not changed.
    void storeDeviceRow(int r, const QString &name, const QString &barcode, const QString &department,
                        const QString &price, const QString &tax);
    // Column c of every article, article 1 first.
    QStringList columnTexts(int c) const;

    // Rows edited since the last read, load or write of them: marked in the number column.
    bool isChanged(int r) const;
    int changedCount() const { return changedCount_; }
    // Numbers of the changed rows, in order.
    std::vector<int> changedRows() const;
    // Row r no longer differs from the device (written, or read back).
    void clearChanged(int r);
    void clearAllChanged();

    // The article number a text names: decimal digits only (blanks around them aside), 1..60000;
    // 0 for any other text.
    static int articleNumber(QStringView text);

signals:
    // The number of changed rows went from zero to some or back.
    void hasChangesChanged(bool hasChanges);

private:
    // Row r's cells, created from the start-up values on its first change.
    Row &ownRow(int r);
    bool isFresh(int r) const { return !rows_[size_t(r - 1)]; }
    QString freshCell(int c, int r) const;
    void setChanged(int r, bool changed);

    // A row that was never changed is not stored: it reads as its start-up values.
    std::vector<std::unique_ptr<Row>> rows_;
    std::vector<uint8_t> changed_;
    int changedCount_ = 0;
    QString freshPrice_;
};
