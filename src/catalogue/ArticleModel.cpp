#include "ArticleModel.h"

#include "UiText.h"

namespace {
const QString kFirstTaxLetter = QStringLiteral("А");
const QString kDepartmentOne = QStringLiteral("1");
} // namespace

ArticleModel::ArticleModel(QObject *parent) : QAbstractTableModel(parent), cells_(size_t(kArticles) * kColumns) {}

int ArticleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kArticles;
}

int ArticleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

const QString &ArticleModel::cell(int c, int r) const
{
    if (c < 0 || c >= kColumns || r < 1 || r > kArticles)
        return empty_;
    return cells_[size_t(r - 1) * kColumns + size_t(c)];
}

void ArticleModel::setCell(int c, int r, const QString &text)
{
    if (c < 0 || c >= kColumns || r < 1 || r > kArticles)
        return;
    QString &slot = cells_[size_t(r - 1) * kColumns + size_t(c)];
    if (slot == text)
        return;
    slot = text;
    const QModelIndex i = index(r - 1, c);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

QVariant ArticleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return cell(index.column(), index.row() + 1);
}

bool ArticleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() == Number)
        return false;
    setCell(index.column(), index.row() + 1, value.toString());
    return true;
}

Qt::ItemFlags ArticleModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != Number)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant ArticleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const int kEntries[kColumns] = {105, 70, 103, 71, 72, -1};
    return section >= 0 && section < kColumns && kEntries[section] >= 0 ? UiText(kEntries[section]) : QString();
}

QString ArticleModel::zeroPrice(const QLocale &locale)
{
    return QStringLiteral("0") + locale.decimalPoint() + QStringLiteral("00");
}

void ArticleModel::resetRow(int r, const QLocale &locale)
{
    if (r < 1 || r > kArticles)
        return;
    setCell(Number, r, QString::number(r));
    setCell(Name, r, QString());
    setCell(Barcode, r, QString());
    setCell(Department, r, kDepartmentOne);
    setCell(Price, r, zeroPrice(locale));
    setCell(Tax, r, kFirstTaxLetter);
}

void ArticleModel::fillStartup(const QLocale &locale)
{
    beginResetModel();
    const QString price = zeroPrice(locale);
    for (int r = 1; r <= kArticles; ++r) {
        QString *row = &cells_[size_t(r - 1) * kColumns];
        row[Number] = QString::number(r);
        row[Name] = QString();
        row[Barcode] = QString();
        row[Department] = kDepartmentOne;
        row[Price] = price;
        row[Tax] = kFirstTaxLetter;
    }
    endResetModel();
}

ArticleModel::Row ArticleModel::startupRow(int r, const QLocale &locale)
{
    return {QString::number(r), QString(), QString(), kDepartmentOne, zeroPrice(locale), kFirstTaxLetter};
}

void ArticleModel::setRows(int first, std::vector<Row> &&rows)
{
    if (first < 1 || first > kArticles || rows.empty())
        return;
    const int count = int(std::min<size_t>(rows.size(), size_t(kArticles - first + 1)));
    for (int i = 0; i < count; ++i) {
        QString *row = &cells_[size_t(first - 1 + i) * kColumns];
        for (int c = 0; c < kColumns; ++c)
            row[c] = std::move(rows[size_t(i)][size_t(c)]);
    }
    emit dataChanged(index(first - 1, 0), index(first - 1 + count - 1, kColumns - 1), {Qt::DisplayRole, Qt::EditRole});
}

QStringList ArticleModel::columnTexts(int c) const
{
    QStringList texts;
    texts.reserve(kArticles);
    for (int r = 1; r <= kArticles; ++r)
        texts.append(cell(c, r));
    return texts;
}

int ArticleModel::articleNumber(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return 0;
    int n = 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            return 0;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n >= 1 && n <= kArticles ? n : 0;
}
