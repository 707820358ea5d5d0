#include "ArticleCellDelegate.h"

#include "ArticleModel.h"
#include "TaxLetters.h"

#include <QLineEdit>
#include <QPersistentModelIndex>

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

QWidget *ArticleCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line)
        return editor;
    if (const int limit = maxLength(index.column()); limit > 0)
        line->setMaxLength(limit);
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
