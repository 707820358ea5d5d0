#include "ArticlesSection.h"

#include "ArticleModel.h"
#include "UiText.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
template <typename W> W *make(QWidget *parent, const char *name, const QRect &r)
{
    auto *w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(r);
    return w;
}
} // namespace

ArticlesSection::ArticlesSection(SectionHost &host, QWidget *parent, const QRect &geometry, ArticleModel &model)
    : Section(host, parent), model_(model)
{
    gbArticles = make<QGroupBox>(parent, "gbArticles", geometry);
    QWidget *g = gbArticles;

    struct Heading {
        const char *name;
        int entry;
        int x;
    };
    for (const Heading &h : {Heading{"Label39", 105, 8}, Heading{"Label18", 70, 38}, Heading{"LabelBarkod", 103, 200},
                             Heading{"Label21", 71, 284}, Heading{"Label16", 72, 318}, Heading{"Label17", 99, 364},
                             Heading{"Label6", 66, 400}}) {
        auto *l = make<QLabel>(g, h.name, QRect(h.x, 16, 80, 14));
        l->adjustSize();
    }
    edtArticleName = make<QLineEdit>(g, "edtArticleName", QRect(36, 32, 162, 21));
    edtArticleName->setMaxLength(32);
    edtBarkod = make<QLineEdit>(g, "edtBarkod", QRect(198, 32, 84, 21));
    edtBarkod->setMaxLength(13);
    cbAStand = make<QComboBox>(g, "cbAStand", QRect(282, 32, 36, 21));
    for (int i = 1; i <= 10; ++i)
        cbAStand->addItem(QString::number(i));
    edtAPrice = make<QLineEdit>(g, "edtAPrice", QRect(318, 32, 46, 21));
    edtAPrice->setMaxLength(10);
    cbATG = make<QComboBox>(g, "cbATG", QRect(400, 32, 30, 21));

    sgArticles = make<QTableView>(g, "sgArticles", QRect(6, 58, 424, 260));
    sgArticles->setModel(&model_);
    sgArticles->verticalHeader()->hide();
    sgArticles->verticalHeader()->setDefaultSectionSize(18);
    sgArticles->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int widths[] = {30, 162, 84, 33, 88, 16};
    for (int c = 0; c < 6; ++c)
        sgArticles->setColumnWidth(c, widths[c]);

    btnACor = make<QPushButton>(g, "btnACor", QRect(6, 324, 84, 25));
    btnAFSave = make<QPushButton>(g, "btnAFSave", QRect(94, 324, 104, 25));
    btnAFLoad = make<QPushButton>(g, "btnAFLoad", QRect(202, 324, 104, 25));
    BitBtn1 = make<QPushButton>(g, "BitBtn1", QRect(310, 324, 28, 25));
    lblArt = make<QLabel>(g, "lblArt", QRect(344, 328, 40, 16));
    lblBrojac = make<QLabel>(g, "lblBrojac", QRect(384, 328, 46, 16));
    lblBrojac->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnARead = make<QPushButton>(g, "btnARead", QRect(6, 356, 120, 25));
    btnAWrite = make<QPushButton>(g, "btnAWrite", QRect(130, 356, 120, 25));
    BtnOtkaz = make<QPushButton>(g, "BtnOtkaz", QRect(254, 356, 70, 25));
}

void ArticlesSection::activate()
{
    gbArticles->setTitle(UiText(69));
    btnACor->setText(UiText(77));
    btnAFSave->setText(UiText(74));
    btnAFLoad->setText(UiText(92));
    btnARead->setText(UiText(Txt::Read));
    btnAWrite->setText(UiText(Txt::Write));
}

void ArticlesSection::loadFormFromRow(int r)
{
    edtArticleName->setText(model_.cell(ArticleModel::Name, r));
    edtBarkod->setText(model_.cell(ArticleModel::Barcode, r));
    cbAStand->setCurrentText(model_.cell(ArticleModel::Department, r));
    edtAPrice->setText(model_.cell(ArticleModel::Price, r));
}
