#include "ArticlesSection.h"

#include "MakeWidget.h"

#include "ArticleCellDelegate.h"
#include "ArticleFileFormat.h"
#include "ArticleFileImport.h"
#include "ArticleModel.h"
#include "ArticlePrice.h"
#include "Cp1251.h"
#include "LinkView.h"
#include "TaxLetters.h"
#include "ToolText.h"
#include "TypingLimit.h"
#include "UiText.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>

namespace {
struct Heading {
    const char *name;
    int entry;
    int x;
};
const Heading kHeadings[] = {{"Label39", 105, 8},  {"Label18", 70, 38},  {"LabelBarkod", 103, 200},
                             {"Label21", 71, 284}, {"Label16", 72, 318}, {"Label17", 99, 356},
                             {"Label6", 66, 398}};
} // namespace

ArticlesSection::ArticlesSection(SectionHost &host, QWidget *parent, const QRect &geometry, ArticleModel &model)
    : Section(host, parent), model_(model)
{
    gbArticles = makeWidget<QGroupBox>(parent, "gbArticles", geometry);
    QWidget *g = gbArticles;

    for (const Heading &h : kHeadings)
        makeWidget<QLabel>(g, h.name, QRect(h.x, 16, 80, 14));
    lblANumber = makeWidget<QLabel>(g, "lblANumber", QRect(4, 32, 32, 21));
    lblANumber->setAlignment(Qt::AlignCenter);
    edtArticleName = makeWidget<QLineEdit>(g, "edtArticleName", QRect(36, 32, 162, 21));
    TypingLimit::install(edtArticleName, ArticleCellDelegate::maxLength(ArticleModel::Name));
    edtBarkod = makeWidget<QLineEdit>(g, "edtBarkod", QRect(198, 32, 84, 21));
    TypingLimit::install(edtBarkod, ArticleCellDelegate::maxLength(ArticleModel::Barcode));
    cbAStand = makeWidget<QComboBox>(g, "cbAStand", QRect(282, 32, 36, 21));
    cbAStand->setEditable(true);
    cbAStand->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 1; i <= 10; ++i)
        cbAStand->addItem(QString::number(i));
    edtAPrice = makeWidget<QLineEdit>(g, "edtAPrice", QRect(318, 32, 78, 21));
    TypingLimit::install(edtAPrice, ArticleCellDelegate::maxLength(ArticleModel::Price));
    edtAPrice->setText(ArticleModel::zeroPrice());
    cbATG = makeWidget<QComboBox>(g, "cbATG", QRect(396, 32, 36, 21));

    sgArticles = makeWidget<QTableView>(g, "sgArticles", QRect(4, 58, 430, 260));
    // The row header is set up before the 60000 rows arrive, so that they are laid out once.
    sgArticles->verticalHeader()->hide();
    sgArticles->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgArticles->verticalHeader()->setDefaultSectionSize(18);
    sgArticles->setModel(&model_);
    sgArticles->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgArticles->horizontalHeader()->setHighlightSections(false);
    sgArticles->horizontalHeader()->setFixedHeight(20);
    const int widths[ArticleModel::kColumns] = {30, 162, 84, 33, 88, 16};
    for (int c = 0; c < ArticleModel::kColumns; ++c)
        sgArticles->setColumnWidth(c, widths[c]);
    sgArticles->setWordWrap(false);
    sgArticles->setSelectionMode(QAbstractItemView::SingleSelection);
    sgArticles->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    delegate_ = new ArticleCellDelegate(sgArticles);
    sgArticles->setItemDelegate(delegate_);
    // A refused in-place edit is reported once the editor has closed.
    connect(
        delegate_, &ArticleCellDelegate::refused, this, [this] { showError(UiText(Txt::DataError)); },
        Qt::QueuedConnection);
    connect(sgArticles->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    loadFormFromRow(current.row() + 1);
            });
    connect(&model_, &QAbstractItemModel::dataChanged, this, &ArticlesSection::onCellsChanged);
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { loadFormFromRow(currentRow()); });

    btnACor = makeWidget<QPushButton>(g, "btnACor", QRect(6, 324, 84, 25));
    btnAFSave = makeWidget<QPushButton>(g, "btnAFSave", QRect(94, 324, 104, 25));
    btnAFLoad = makeWidget<QPushButton>(g, "btnAFLoad", QRect(202, 324, 104, 25));
    BitBtn1 = makeWidget<QPushButton>(g, "BitBtn1", QRect(310, 324, 28, 25));
    lblArt = makeWidget<QLabel>(g, "lblArt", QRect(344, 328, 40, 16));
    lblBrojac = makeWidget<QLabel>(g, "lblBrojac", QRect(384, 328, 46, 16));
    lblBrojac->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblArtCaption = makeWidget<QLabel>(g, "lblArtCaption", QRect(344, 344, 40, 12));
    lblBrojacCaption = makeWidget<QLabel>(g, "lblBrojacCaption", QRect(384, 344, 46, 12));
    lblBrojacCaption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnARead = makeWidget<QPushButton>(g, "btnARead", QRect(6, 356, 120, 25));
    btnAWrite = makeWidget<QPushButton>(g, "btnAWrite", QRect(130, 356, 120, 25));
    BtnOtkaz = makeWidget<QPushButton>(g, "BtnOtkaz", QRect(254, 356, 70, 25));
    // A click on "Прекини" leaves the keyboard focus where the technician was working.
    BtnOtkaz->setFocusPolicy(Qt::TabFocus);

    // The range and the write of changed rows sit in the title row, right of the caption, so that
    // every other control keeps its place. Their backgrounds cover the frame line there.
    lblAFrom = makeWidget<QLabel>(g, "lblAFrom", QRect(104, 1, 16, 14));
    edtAFrom = makeWidget<QLineEdit>(g, "edtAFrom", QRect(120, 0, 44, 16));
    lblATo = makeWidget<QLabel>(g, "lblATo", QRect(168, 1, 16, 14));
    edtATo = makeWidget<QLineEdit>(g, "edtATo", QRect(184, 0, 44, 16));
    btnAWriteChanged = makeWidget<QPushButton>(g, "btnAWriteChanged", QRect(236, 0, 120, 16));
    for (QLabel *l : {lblAFrom, lblATo}) {
        l->setAlignment(Qt::AlignCenter);
        l->setAutoFillBackground(true);
    }
    for (QLineEdit *e : {edtAFrom, edtATo}) {
        e->setMaxLength(5);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setTextMargins(0, 0, 0, 0);
    }
    edtAFrom->setText(QStringLiteral("1"));
    edtATo->setText(QString::number(ArticleModel::kArticles));
    btnAWriteChanged->setEnabled(btnAWrite->isEnabled());
    btnAWrite->installEventFilter(this);
    connect(&model_, &ArticleModel::hasChangesChanged, this,
            [this] { btnAWriteChanged->setText(ToolText::writeChangedCaption(model_.changedCount())); });
    // The count in the caption follows every mark set or cleared.
    connect(&model_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                if (roles.contains(Qt::BackgroundRole))
                    btnAWriteChanged->setText(ToolText::writeChangedCaption(model_.changedCount()));
            });

    connect(btnACor, &QPushButton::clicked, this, &ArticlesSection::btnACorClick);
    connect(btnAFSave, &QPushButton::clicked, this, &ArticlesSection::btnAFSaveClick);
    connect(btnAFLoad, &QPushButton::clicked, this, &ArticlesSection::btnAFLoadClick);
}

void ArticlesSection::activate()
{
    gbArticles->setTitle(UiText(69));
    for (const Heading &h : kHeadings) {
        if (auto *l = gbArticles->findChild<QLabel *>(h.name)) {
            l->setText(UiText(h.entry));
            l->adjustSize();
        }
    }
    btnACor->setText(UiText(77));
    btnAFSave->setText(UiText(74));
    btnAFLoad->setText(UiText(92));
    btnARead->setText(UiText(Txt::Read));
    btnAWrite->setText(UiText(Txt::Write));
    lblAFrom->setText(ToolText::articleRangeFromLabel());
    lblATo->setText(ToolText::articleRangeToLabel());
    for (QWidget *w : {static_cast<QWidget *>(lblAFrom), static_cast<QWidget *>(edtAFrom),
                       static_cast<QWidget *>(lblATo), static_cast<QWidget *>(edtATo)})
        w->setToolTip(ToolText::articleRangeToolTip());
    btnAWriteChanged->setText(ToolText::writeChangedCaption(model_.changedCount()));
    btnAWriteChanged->setToolTip(ToolText::writeChangedToolTip());
    lblArtCaption->setText(ToolText::articleCounterCaption());
    lblBrojacCaption->setText(ToolText::replyCounterCaption());
    lblArt->setToolTip(ToolText::articleCounterCaption());
    lblBrojac->setToolTip(ToolText::replyCounterCaption());

    cbATG->clear();
    cbATG->addItems(TaxLetters::letters());
    edtBarkod->clear();
    setCurrentCell(ArticleModel::Name, 1);
    loadFormFromRow(1);
    cbATG->setCurrentIndex(0);
    cbAStand->setCurrentText(cbAStand->itemText(0));
}

bool ArticlesSection::mayClose()
{
    const int count = model_.changedCount();
    return count == 0 ||
           view().showDialog(UiText(Txt::TitleWarning), ToolText::closeWithUnwrittenChanges(count), true) == 1;
}

bool ArticlesSection::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == btnAWrite && event->type() == QEvent::EnabledChange)
        btnAWriteChanged->setEnabled(btnAWrite->isEnabled());
    return Section::eventFilter(watched, event);
}

bool ArticlesSection::articleRange(int &from, int &to)
{
    const int f = ArticleModel::articleNumber(edtAFrom->text());
    const int t = ArticleModel::articleNumber(edtATo->text());
    if (f == 0 || t == 0 || f > t) {
        showError(ToolText::articleRangeInvalid(edtAFrom->text(), edtATo->text(), ArticleModel::kArticles));
        return false;
    }
    from = f;
    to = t;
    return true;
}

void ArticlesSection::loadFormFromRow(int r)
{
    // The boxes limit typing only: a row's text lands whole, however long.
    lblANumber->setText(QString::number(std::clamp(r, 1, int(ArticleModel::kArticles))));
    TypingLimit::setText(edtArticleName, model_.cell(ArticleModel::Name, r));
    TypingLimit::setText(edtBarkod, model_.cell(ArticleModel::Barcode, r));
    cbAStand->setCurrentText(model_.cell(ArticleModel::Department, r));
    TypingLimit::setText(edtAPrice, model_.cell(ArticleModel::Price, r));
    // A cell that holds none of the nine letters leaves the list without a selection.
    cbATG->setCurrentIndex(TaxLetters::TaxLetterIndex(model_.cell(ArticleModel::Tax, r)));
}

int ArticlesSection::currentRow() const
{
    const QModelIndex i = sgArticles->currentIndex();
    return i.isValid() ? i.row() + 1 : 1;
}

void ArticlesSection::setCurrentCell(int c, int r)
{
    const QModelIndex i = model_.index(r - 1, c);
    if (!i.isValid())
        return;
    sgArticles->setCurrentIndex(i);
    sgArticles->scrollTo(i);
}

void ArticlesSection::setCancelVisible(bool visible)
{
    // A hidden button that held the focus would hand it to the next control in the window (the
    // address box, its text selected); the grid takes it instead.
    if (!visible && BtnOtkaz->hasFocus())
        sgArticles->setFocus(Qt::OtherFocusReason);
    BtnOtkaz->setVisible(visible);
}

void ArticlesSection::onCellsChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (applyingForm_)
        return;
    const int row = sgArticles->currentIndex().isValid() ? sgArticles->currentIndex().row() : 0;
    if (row >= topLeft.row() && row <= bottomRight.row())
        loadFormFromRow(row + 1);
}

void ArticlesSection::btnACorClick()
{
    const QString price = edtAPrice->text();
    if (!ArticlePrice::acceptable(price)) {
        showError(UiText(Txt::DataError));
        return;
    }
    const int r = currentRow();
    // The form is read whole before the row changes (the form follows the row's cells).
    const QString name = edtArticleName->text();
    const QString barcode = edtBarkod->text();
    const QString department = cbAStand->currentText();
    const QString tax = cbATG->currentText();
    applyingForm_ = true;
    model_.setCell(ArticleModel::Name, r, name);
    model_.setCell(ArticleModel::Barcode, r, barcode);
    model_.setCell(ArticleModel::Department, r, department);
    model_.setCell(ArticleModel::Price, r, ArticlePrice::forGrid(price));
    model_.setCell(ArticleModel::Tax, r, tax);
    applyingForm_ = false;
    loadFormFromRow(r);
}

QFileDialog &ArticlesSection::saveDialog()
{
    if (!SD) {
        SD = new QFileDialog(host().window());
        SD->setObjectName("SD");
        SD->setAcceptMode(QFileDialog::AcceptSave);
        SD->setFileMode(QFileDialog::AnyFile);
        SD->setDefaultSuffix(QStringLiteral("CSV"));
        SD->setNameFilters({QStringLiteral("Articles File (*.CSV)"), QStringLiteral("FM Dump (*.BIN)")});
        SD->selectNameFilter(QStringLiteral("Articles File (*.CSV)"));
    }
    return *SD;
}

QFileDialog &ArticlesSection::openDialog()
{
    if (!OD) {
        OD = new QFileDialog(host().window());
        OD->setObjectName("OD");
        OD->setAcceptMode(QFileDialog::AcceptOpen);
        OD->setFileMode(QFileDialog::ExistingFile);
        OD->setDefaultSuffix(QStringLiteral("CSV"));
    }
    return *OD;
}

QString ArticlesSection::choose(QFileDialog &dialog)
{
    if (fileChooser_)
        return fileChooser_(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void ArticlesSection::btnAFSaveClick()
{
    const QString path = choose(saveDialog());
    if (!path.isEmpty())
        saveArticlesTo(path);
}

void ArticlesSection::btnAFLoadClick()
{
    const QString path = choose(openDialog());
    if (!path.isEmpty())
        loadArticlesFrom(path);
    setCurrentCell(ArticleModel::Name, 1);
    loadFormFromRow(1);
}

bool ArticlesSection::saveArticlesTo(const QString &path)
{
    const QChar separator = ArticleFileFormat::listSeparator();
    QByteArray bytes;
    bytes.reserve(ArticleModel::kArticles * 32);
    ArticleFileFormat::Fields fields;
    for (int r = 1; r <= ArticleModel::kArticles; ++r) {
        for (int c = 0; c < ArticleModel::kColumns; ++c)
            fields[size_t(c)] = model_.cell(c, r);
        Cp1251::append(bytes, ArticleFileFormat::formatLine(fields, separator));
        bytes.append("\r\n", 2);
    }
    // The old file is replaced only once the new one is completely written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString error = file.errorString();
        file.cancelWriting();
        showError(QStringLiteral("Фајл „%1“ није снимљен: %2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    view().showDialog(UiText(Txt::TitleInfo), UiText(Txt::WriteOk));
    return true;
}

bool ArticlesSection::loadArticlesFrom(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showError(QStringLiteral("Фајл „%1“ није отворен: %2").arg(shown, file.errorString()));
        return false;
    }
    // A wrong choice in the open dialog (a picture, a disk image) is refused before it is read whole.
    constexpr qint64 kMaxMegabytes = 64;
    if (file.size() > kMaxMegabytes * 1024 * 1024) {
        showError(ToolText::ArticleFileTooBig().arg(shown).arg(kMaxMegabytes));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        showError(QStringLiteral("Фајл „%1“ није прочитан: %2").arg(shown, file.errorString()));
        return false;
    }
    ArticleFileImport in = ArticleFileImport::read(bytes);
    if (in.articles == 0) {
        showError(ToolText::ArticleFileNoArticles().arg(shown));
        return false;
    }
    // The table changes only once the technician has heard what the file holds beside articles.
    if (in.needsConfirmation() &&
        view().showDialog(UiText(Txt::TitleWarning), in.question(QFileInfo(path).fileName()), true) != 1)
        return false;
    model_.setRows(1, std::move(in.rows));
    return true;
}
