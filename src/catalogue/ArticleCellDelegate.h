#pragma once
// In-place editors of the article table: the form's typing limits (which never cut the text a
// cell already holds), the form's price check and a department check, and the tax-group column
// normalised while typing so that the editor shows the resulting letter at once.

#include <QStyledItemDelegate>

class ArticleCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Longest text the user may type into an in-place editor of column c (0 = no limit):
    // name 32, barcode 13, price 10.
    static int maxLength(int column);
    // Whether an edited text may go into the cell: a price as the form checks it, a department as
    // a whole number 1..10; other columns take any text.
    static bool acceptable(int column, const QString &text);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    // An edited text was refused; the cell kept its text.
    void refused(const QModelIndex &index);
};
