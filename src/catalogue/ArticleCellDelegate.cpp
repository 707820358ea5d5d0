#include "ArticleCellDelegate.h"

#include "ArticleModel.h"
#include "ArticlePrice.h"
#include "TaxLetters.h"
#include "TypingLimit.h"

#include <QLineEdit>
#include <QPersistentModelIndex>

namespace {
constexpr int kDepartments = 10;
} // namespace

int ArticleCellDelegate::maxLength(int column)
{
    switch (column) {
    case ArticleModel::Name:
        return 32;
    case ArticleModel::Barcode:
        return 13;
    case ArticleModel::Price:
        return 10;
    default:
        return 0;
    }
}

bool ArticleCellDelegate::acceptable(int column, const QString &text)
{
    if (column == ArticleModel::Price)
        return ArticlePrice::acceptable(text);
    if (column == ArticleModel::Department) {
        bool ok = false;
        const int d = text.trimmed().toInt(&ok, 10);
        return ok && d >= 1 && d <= kDepartments;
    }
    return true;
}

QWidget *ArticleCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line)
        return editor;
    if (const int limit = maxLength(index.column()); limit > 0)
        TypingLimit::install(line, limit);
    if (index.column() == ArticleModel::Tax) {
        // The cell takes each edited text at once, normalised; the editor shows the result.
        const QPersistentModelIndex cell(index);
        QAbstractItemModel *model = const_cast<QAbstractItemModel *>(index.model());
        connect(line, &QLineEdit::textEdited, line, [line, cell, model](const QString &typed) {
            const QString normalised = TaxLetters::normaliseCell(typed);
            if (normalised != typed)
                line->setText(normalised);
            if (cell.isValid())
                model->setData(cell, normalised);
        });
    }
    return editor;
}

void ArticleCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    // The editor opens with the whole cell, also when it is longer than typing allows.
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        TypingLimit::setText(line, index.data(Qt::EditRole).toString());
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void ArticleCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const QString text = line->text();
    if (text == index.data(Qt::EditRole).toString())
        return; // opened and left as it was
    if (!acceptable(index.column(), text)) {
        emit const_cast<ArticleCellDelegate *>(this)->refused(index);
        return;
    }
    model->setData(index, index.column() == ArticleModel::Price ? ArticlePrice::forGrid(text) : text);
}
