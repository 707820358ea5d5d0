#include "ArticleModel.h"

#include "ToolText.h"
#include "UiText.h"

#include <QColor>
#include <QFont>

namespace {
const QString kFirstTaxLetter = QStringLiteral("А");
const QString kDepartmentOne = QStringLiteral("1");
} // namespace

ArticleModel::ArticleModel(QObject *parent)
    : QAbstractTableModel(parent), rows_(size_t(kArticles)), changed_(size_t(kArticles), 0), freshPrice_(zeroPrice())
{}

ArticleModel::~ArticleModel() = default;

int ArticleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kArticles;
}

int ArticleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QString ArticleModel::freshCell(int c, int r) const
{
    switch (c) {
    case Number:
        return QString::number(r);
    case Department:
        return kDepartmentOne;
    case Price:
        return freshPrice_;
    case Tax:
        return kFirstTaxLetter;
    default:
        return QString();
    }
}

QString ArticleModel::cell(int c, int r) const
{
    if (c < 0 || c >= kColumns || r < 1 || r > kArticles)
        return QString();
    const Row *row = rows_[size_t(r - 1)].get();
    return row ? (*row)[size_t(c)] : freshCell(c, r);
}

ArticleModel::Row &ArticleModel::ownRow(int r)
{
    std::unique_ptr<Row> &row = rows_[size_t(r - 1)];
    if (!row) {
        row = std::make_unique<Row>();
        for (int c = 0; c < kColumns; ++c)
            (*row)[size_t(c)] = freshCell(c, r);
    }
    return *row;
}

void ArticleModel::setChanged(int r, bool changed)
{
    uint8_t &mark = changed_[size_t(r - 1)];
    if (bool(mark) == changed)
        return;
    mark = changed ? 1 : 0;
    changedCount_ += changed ? 1 : -1;
    const QModelIndex i = index(r - 1, Number);
    emit dataChanged(i, i, {Qt::BackgroundRole, Qt::FontRole, Qt::ToolTipRole});
    if (changedCount_ == (changed ? 1 : 0))
        emit hasChangesChanged(changedCount_ > 0);
}

void ArticleModel::setCell(int c, int r, const QString &text)
{
    if (c < 0 || c >= kColumns || r < 1 || r > kArticles)
        return;
    if (cell(c, r) == text)
        return;
    ownRow(r)[size_t(c)] = text;
    const QModelIndex i = index(r - 1, c);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
    setChanged(r, true);
}

void ArticleModel::storeDeviceRow(int r, const QString &name, const QString &barcode, const QString &department,
                                  const QString &price, const QString &tax)
{
    if (r < 1 || r > kArticles)
        return;
    const QString texts[] = {name, barcode, department, price, tax};
    bool differs = false;
    for (int c = Name; c <= Tax; ++c)
        differs = differs || cell(c, r) != texts[c - Name];
    if (differs) {
        Row &row = ownRow(r);
        for (int c = Name; c <= Tax; ++c)
            row[size_t(c)] = texts[c - Name];
        emit dataChanged(index(r - 1, Name), index(r - 1, Tax), {Qt::DisplayRole, Qt::EditRole});
    }
    setChanged(r, false);
}

QVariant ArticleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int r = index.row() + 1;
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cell(index.column(), r);
    // A changed row is marked in its number cell until it is written.
    if (index.column() != Number || !isChanged(r))
        return {};
    if (role == Qt::BackgroundRole)
        return QColor(255, 224, 128);
    if (role == Qt::FontRole) {
        QFont f;
        f.setBold(true);
        return f;
    }
    if (role == Qt::ToolTipRole)
        return ToolText::articleRowChanged();
    return {};
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
    const Row fresh = startupRow(r, locale);
    for (int c = 0; c < kColumns; ++c)
        setCell(c, r, fresh[size_t(c)]);
}

void ArticleModel::fillStartup(const QLocale &locale)
{
    beginResetModel();
    freshPrice_ = zeroPrice(locale);
    for (std::unique_ptr<Row> &row : rows_)
        row.reset();
    const bool had = changedCount_ > 0;
    std::fill(changed_.begin(), changed_.end(), 0);
    changedCount_ = 0;
    endResetModel();
    if (had)
        emit hasChangesChanged(false);
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
        const int r = first + i;
        Row &given = rows[size_t(i)];
        bool fresh = isFresh(r);
        for (int c = 0; c < kColumns && fresh; ++c)
            fresh = given[size_t(c)] == freshCell(c, r);
        if (!fresh)
            ownRow(r) = std::move(given);
        changed_[size_t(r - 1)] = 0;
    }
    emit dataChanged(index(first - 1, 0), index(first - 1 + count - 1, kColumns - 1),
                     {Qt::DisplayRole, Qt::EditRole, Qt::BackgroundRole, Qt::FontRole, Qt::ToolTipRole});
    int left = 0;
    for (uint8_t mark : changed_)
        left += mark;
    const bool had = changedCount_ > 0;
    changedCount_ = left;
    if (had != (left > 0))
        emit hasChangesChanged(left > 0);
}

QStringList ArticleModel::columnTexts(int c) const
{
    QStringList texts;
    texts.reserve(kArticles);
    for (int r = 1; r <= kArticles; ++r)
        texts.append(cell(c, r));
    return texts;
}

bool ArticleModel::isChanged(int r) const
{
    return r >= 1 && r <= kArticles && changed_[size_t(r - 1)] != 0;
}

std::vector<int> ArticleModel::changedRows() const
{
    std::vector<int> numbers;
    numbers.reserve(size_t(changedCount_));
    for (int r = 1; r <= kArticles; ++r)
        if (changed_[size_t(r - 1)])
            numbers.push_back(r);
    return numbers;
}

void ArticleModel::clearChanged(int r)
{
    if (r >= 1 && r <= kArticles)
        setChanged(r, false);
}

void ArticleModel::clearAllChanged()
{
    for (int r = 1; r <= kArticles; ++r)
        if (changed_[size_t(r - 1)])
            setChanged(r, false);
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
