#pragma once
// Section of the main window for the article table, its entry form and the article file.

#include "Section.h"

#include <QRect>

class ArticleModel;
class QComboBox;
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

    ArticleModel &model() { return model_; }
    // Copies row r of the table into the entry form (name, barcode, department, price, tax letter).
    void loadFormFromRow(int r);

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
    QPushButton *BitBtn1 = nullptr;
    QLabel *lblArt = nullptr;
    QLabel *lblBrojac = nullptr;

private:
    ArticleModel &model_;
};
