#include "TaxGroupsSection.h"

#include "MakeWidget.h"

#include "Decimal.h"
#include "Device.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "TaxGroupsOps.h"
#include "TaxLetters.h"
#include "UiText.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTimeEdit>

namespace {
constexpr int kGroups = TaxLetters::kCount;
const QString kUndefinedText = QStringLiteral("**,**");
} // namespace

TaxGroupsSection::TaxGroupsSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    gbTaxGroups = makeWidget<QGroupBox>(parent, "gbTaxGroups", geometry);
    gbTaxGroups->setTitle(UiText(48));
    QWidget *g = gbTaxGroups;

    taxModel = new QStandardItemModel(kGroups, 2, this);
    sgTaxGroups = makeWidget<QTableView>(g, "sgTaxGroups", QRect(8, 20, 100, 204));
    sgTaxGroups->setModel(taxModel);
    sgTaxGroups->verticalHeader()->hide();
    sgTaxGroups->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgTaxGroups->verticalHeader()->setDefaultSectionSize(20);
    sgTaxGroups->horizontalHeader()->setFixedHeight(20);
    sgTaxGroups->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgTaxGroups->horizontalHeader()->setHighlightSections(false);
    sgTaxGroups->setColumnWidth(0, 30);
    sgTaxGroups->setColumnWidth(1, 66);
    sgTaxGroups->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgTaxGroups->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgTaxGroups->setSelectionMode(QAbstractItemView::SingleSelection);
    sgTaxGroups->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    for (int r = 0; r < kGroups; ++r) {
        auto *letter = new QStandardItem;
        letter->setFlags(Qt::ItemIsEnabled);
        letter->setTextAlignment(Qt::AlignCenter);
        taxModel->setItem(r, 0, letter);
        taxModel->setItem(r, 1, new QStandardItem);
    }

    lblTGTime = makeWidget<QLabel>(g, "lblTGTime", QRect(8, 232, 180, 14));
    dtpTGTime = makeWidget<QTimeEdit>(g, "dtpTGTime", QRect(8, 248, 100, 22));
    dtpTGTime->setEnabled(false);
    lblTGDate = makeWidget<QLabel>(g, "lblTGDate", QRect(8, 276, 180, 14));
    dtpTaxGroups = makeWidget<QDateEdit>(g, "dtpTaxGroups", QRect(8, 292, 100, 22));
    dtpTaxGroups->setEnabled(false);
    btnTGRead = makeWidget<QPushButton>(g, "btnTGRead", QRect(8, 324, 180, 25));
    btnTGWrite = makeWidget<QPushButton>(g, "btnTGWrite", QRect(8, 354, 180, 25));
    connect(btnTGRead, &QPushButton::clicked, this, &TaxGroupsSection::btnTGReadClick);
    connect(btnTGWrite, &QPushButton::clicked, this, &TaxGroupsSection::btnTGWriteClick);

    connect(&device().taxGroups(), &TaxGroupsOps::received, this, &TaxGroupsSection::showRecord);
}

void TaxGroupsSection::activate()
{
    gbTaxGroups->setTitle(UiText(48));
    lblTGTime->setText(UiText(107));
    lblTGDate->setText(UiText(58));
    btnTGRead->setText(UiText(Txt::Read));
    btnTGWrite->setText(UiText(Txt::Write));
    const QDateTime now = QDateTime::currentDateTime();
    dtpTaxGroups->setDate(now.date());
    dtpTGTime->setTime(now.time());

    const QString point = QLocale().decimalPoint();
    setCell(0, 0, UiText(66));
    setCell(1, 0, QStringLiteral("%(0") + point + QStringLiteral("0-99") + point + QStringLiteral("99)"));
    for (int i = 0; i < kGroups; ++i)
        setCell(0, i + 1, TaxLetters::letter(i));
    sgTaxGroups->setCurrentIndex(taxModel->index(0, 1));
}

QString TaxGroupsSection::cell(int c, int r) const
{
    if (r == 0)
        return taxModel->headerData(c, Qt::Horizontal).toString();
    const QStandardItem *item = taxModel->item(r - 1, c);
    return item ? item->text() : QString();
}

void TaxGroupsSection::setCell(int c, int r, const QString &text)
{
    if (r == 0) {
        taxModel->setHeaderData(c, Qt::Horizontal, text);
        return;
    }
    if (QStandardItem *item = taxModel->item(r - 1, c))
        item->setText(text);
}

void TaxGroupsSection::btnTGReadClick()
{
    if (refuseOutsideServiceMode())
        return;
    beginRead();
    device().taxGroups().read();
}

void TaxGroupsSection::showRecord(const TaxGroupsRecord &r)
{
    view().setProgress(16);
    btnTGWrite->setEnabled(true);
    for (int i = 0; i < kGroups; ++i)
        setCell(1, i + 1, r.defined(i) ? Decimal::fromHundredths(r.rates[size_t(i)]) : kUndefinedText);
    if (r.changeCount != TaxGroupsRecord::kNeverChanged) {
        const QDate date = r.changeDate();
        dtpTaxGroups->setDate(date.isValid() ? date : QDate(2004, 1, 1));
        const QTime time = r.changeTime();
        dtpTGTime->setTime(time.isValid() ? time : QTime(0, 0));
    }
    if (r.changeCount == TaxGroupsRecord::kAllowedChanges)
        btnTGWrite->setEnabled(false);
    view().showDialog(UiText(Txt::TitleWarning),
                      UiText(Txt::RemainingChanges) + QString::number(r.remainingChanges()) + UiText(Txt::TimesSuffix));
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
    view().setControlsEnabled({QStringLiteral("btnARead")}, true);
    view().setControlsEnabled({QStringLiteral("btnAWrite")}, false);
}

void TaxGroupsSection::btnTGWriteClick()
{
    if (!link().serviceMode())
        return;
    beginWrite(1);
    TaxGroupsRecord r;
    bool valid = true;
    for (int row = 1; row <= kGroups; ++row) {
        // A cell that holds no number is an undefined group.
        const std::optional<int64_t> hundredths = Decimal::toHundredths(cell(1, row));
        if (!hundredths)
            continue;
        if (*hundredths < 0 || *hundredths > TaxGroupsRecord::kMaxRate)
            valid = false;
        else
            r.rates[size_t(row - 1)] = uint16_t(*hundredths);
    }
    if (!valid)
        showError(UiText(Txt::DataErrorCancelled));
    else
        device().taxGroups().write(r);
    endWrite();
    btnTGWrite->setEnabled(false);
}
