#pragma once
// In-place editors of the article table: the form's length limits, and the tax-group column
// normalised while typing so that the editor shows the resulting letter at once.

#include <QStyledItemDelegate>

class ArticleCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Longest text an in-place editor of column c accepts (0 = no limit): name 32, barcode 13, price 10.
    static int maxLength(int column);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
