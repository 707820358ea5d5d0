#include "CashiersSection.h"

#include "MakeWidget.h"

#include "CashiersOps.h"
#include "Device.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "UiText.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {
constexpr int kCashiers = CashierRecord::kCashiers;
} // namespace

CashiersSection::CashiersSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    gbOperators = makeWidget<QGroupBox>(parent, "gbOperators", geometry);
    gbOperators->setTitle(UiText(82));
    Label24 = makeWidget<QLabel>(gbOperators, "Label24", QRect(10, 18, 24, 14));
    Label25 = makeWidget<QLabel>(gbOperators, "Label25", QRect(38, 18, 200, 14));

    model_ = new QStandardItemModel(kCashiers, 2, this);
    sgOperators = makeWidget<QTableView>(gbOperators, "sgOperators", QRect(6, 34, 458, 312));
    sgOperators->setModel(model_);
    sgOperators->horizontalHeader()->hide();
    sgOperators->verticalHeader()->hide();
    sgOperators->verticalHeader()->setDefaultSectionSize(18);
    sgOperators->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sgOperators->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgOperators->setColumnWidth(0, 26);
    sgOperators->setColumnWidth(1, 393);

    btnORead = makeWidget<QPushButton>(gbOperators, "btnORead", QRect(6, 354, 120, 25));
    btnOWrite = makeWidget<QPushButton>(gbOperators, "btnOWrite", QRect(130, 354, 120, 25));
    connect(btnORead, &QPushButton::clicked, this, &CashiersSection::btnOReadClick);
    connect(btnOWrite, &QPushButton::clicked, this, &CashiersSection::btnOWriteClick);
    CashiersOps &ops = device().cashiers();
    ops.setNameSource([this](int number) { return name(number - 1); });
    connect(&ops, &CashiersOps::readStarting, this, [this] { view().setStatusText(UiText(Txt::PleaseWait)); });
    connect(&ops, &CashiersOps::received, this, &CashiersSection::showCashier);
    connect(&ops, &CashiersOps::readStepEnded, this, &CashiersSection::readStepEnded);
    connect(&ops, &CashiersOps::writeStepStarting, this, &CashiersSection::writeStepStarting);
    connect(&ops, &CashiersOps::writeRefused, this, [this] { showError(UiText(Txt::DataErrorCancelled)); });
    connect(&ops, &CashiersOps::writeStepEnded, this, [this] { endWrite(); });
}

void CashiersSection::activate()
{
    gbOperators->setTitle(UiText(82));
    Label24->setText(UiText(105));
    Label24->adjustSize();
    Label25->setText(UiText(97));
    Label25->adjustSize();
    btnORead->setText(UiText(Txt::Read));
    btnOWrite->setText(UiText(Txt::Write));
    for (int i = 0; i < kCashiers; ++i) {
        model_->setItem(i, 0, new QStandardItem(QString::number(i + 1)));
        model_->setItem(i, 1, new QStandardItem(QStringLiteral("Operator ") + QString::number(i + 1)));
    }
}

QString CashiersSection::name(int row) const
{
    if (row < 0 || row >= kCashiers)
        return {};
    return model_->data(model_->index(row, 1)).toString();
}

void CashiersSection::btnOReadClick()
{
    if (refuseOutsideServiceMode())
        return;
    device().cashiers().startRead();
}

void CashiersSection::showCashier(const CashierRecord &record)
{
    view().setProgress(16);
    const int k = record.number;
    if (k >= 1 && k <= kCashiers && record.name)
        model_->setData(model_->index(k - 1, 1), *record.name);
}

void CashiersSection::readStepEnded()
{
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
    link().setControlsEnabled({QStringLiteral("btnOWrite")}, true);
}

void CashiersSection::btnOWriteClick()
{
    if (!link().serviceMode())
        return;
    QStringList names;
    for (int row = 0; row < kCashiers; ++row)
        names.append(name(row));
    if (!confirmCodePage(names))
        return;
    device().cashiers().startWrite();
}

void CashiersSection::writeStepStarting(int number)
{
    beginWrite(1);
    if (number == kCashiers)
        link().setControlsEnabled({QStringLiteral("btnOWrite")}, true);
}
