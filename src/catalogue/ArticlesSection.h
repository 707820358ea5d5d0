#pragma once
// Section of the main window for the article table, its entry form and the article file.

#include "Section.h"

#include <QRect>

#include <functional>

class ArticleCellDelegate;
class ArticleModel;
class QComboBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

class ArticlesSection : public Section {
    Q_OBJECT
public:
    ArticlesSection(SectionHost &host, QWidget *parent, const QRect &geometry, ArticleModel &model);

    void activate() override;
    // Unwritten changed rows: asks before the window closes.
    bool mayClose() override;

    ArticleModel &model() { return model_; }
    // Copies row r of the table into the entry form (name, barcode, department, price, tax letter).
    void loadFormFromRow(int r);
    // Article number of the grid's current row (1 when there is none).
    int currentRow() const;
    // Makes cell (c, r) the grid's current cell; the form follows it.
    void setCurrentCell(int c, int r);
    // Shows or hides "Прекини"; hiding it never sends the keyboard focus elsewhere in the window.
    void setCancelVisible(bool visible);

    // "Исправка": the current row takes the form's values when the price passes its check.
    void btnACorClick();
    // The article file: the buttons ask for a file, then save or load through these.
    void btnAFSaveClick();
    void btnAFLoadClick();
    // Writes rows 1..60000 to `path` (the previous file stays whole if anything fails) and reports
    // the outcome in the message dialog; true when written.
    bool saveArticlesTo(const QString &path);
    // Reads `path` into the table: each line whose number field is an article number fills that row,
    // rows no line names get their start-up values. Lines that are no article, do not fit the layout
    // or repeat an article, and fields longer than the device record, are listed in a question first.
    // On an error or a "no" the table is left as it was; true when the table was replaced.
    bool loadArticlesFrom(const QString &path);

    // The range the read and write buttons cover, from the "од" and "до" fields: true with both
    // numbers when they are 1 <= from <= to <= 60000; otherwise shows why and gives false.
    bool articleRange(int &from, int &to);

    // For tests: called instead of showing the save or open dialog; returns the chosen path,
    // or an empty text for a cancelled dialog.
    using FileChooser = std::function<QString(QFileDialog &dialog)>;
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

    QGroupBox *gbArticles = nullptr;
    QTableView *sgArticles = nullptr;
    QLineEdit *edtArticleName = nullptr;
    QLineEdit *edtBarkod = nullptr;
    QLineEdit *edtAPrice = nullptr;
    QComboBox *cbAStand = nullptr;
    QComboBox *cbATG = nullptr;
    QPushButton *btnACor = nullptr;
    QPushButton *btnAFSave = nullptr;
    QPushButton *btnAFLoad = nullptr;
    QPushButton *btnARead = nullptr;
    QPushButton *btnAWrite = nullptr;
    QPushButton *BtnOtkaz = nullptr;
    // Writes only the rows changed since their last read, load or write; follows btnAWrite's state.
    QPushButton *btnAWriteChanged = nullptr;
    // The range of the read and write buttons, in the group box's title row.
    QLineEdit *edtAFrom = nullptr;
    QLineEdit *edtATo = nullptr;
    QLabel *lblAFrom = nullptr;
    QLabel *lblATo = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QLabel *lblArt = nullptr;
    QLabel *lblBrojac = nullptr;
    // The current row's article number, whole (the number column is too narrow from 1000 on).
    QLabel *lblANumber = nullptr;
    // Captions under the two transfer counters.
    QLabel *lblArtCaption = nullptr;
    QLabel *lblBrojacCaption = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The current row's cells changed (in-place edit, file load, device read): the form follows.
    void onCellsChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);
    QFileDialog &saveDialog();
    QFileDialog &openDialog();
    QString choose(QFileDialog &dialog);

    ArticleModel &model_;
    ArticleCellDelegate *delegate_ = nullptr;
    QFileDialog *SD = nullptr;
    QFileDialog *OD = nullptr;
    FileChooser fileChooser_;
    bool applyingForm_ = false;
};
