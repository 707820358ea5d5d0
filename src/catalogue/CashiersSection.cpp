#include "CashiersSection.h"

#include "MakeWidget.h"

#include "CashierRecord.h"
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
constexpr int kNumberPos = 4;
constexpr int kNamePos = 5;
constexpr int kReadRequestCount = 5;   // 0x5F, code, length, K, CR
constexpr int kWriteRequestCount = 38; // 0x5F, code, length, K, name field (33), CR
using Chain = DeviceLink::Chain;
using ChainEnd = DeviceLink::ChainEnd;

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
    link().onReply(kReadCode, [this] { readReply(); });
    link().onReply(kWriteCode, [this] { writeReply(); });
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
    if (refuseOutsideServiceMode() || !link().beginChain(Chain::CashiersRead))
        return;
    forgetBrokenOffReply();
    view().setStatusText(UiText(Txt::PleaseWait));
    link().setTx(kNumberPos, 1);
    if (!link().SendAwaitingReply(kReadCode, kReadRequestCount))
        link().endChain(Chain::CashiersRead, ChainEnd::Stopped);
}

void CashiersSection::readReply()
{
    // A reply after the read ended still fills its row but asks for nothing more.
    const bool running = link().chain() == Chain::CashiersRead;
    view().setProgress(16);
    const int k = link().rx(kNumberPos);
    if (k >= 1 && k <= kCashiers) {
        if (const std::optional<QString> name = CashierRecord::nameFromReply(link().rxAt(kNamePos)))
            model_->setData(model_->index(k - 1, 1), *name);
    }
    bool more = false;
    if (k < kCashiers && running) {
        link().setTx(kNumberPos, uint8_t(k + 1));
        // Every request of the chain waits for its reply, so a device that stops answering
        // part-way is reported instead of leaving the read hanging.
        more = link().SendAwaitingReply(kReadCode, kReadRequestCount);
    }
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
    link().setControlsEnabled({QStringLiteral("btnOWrite")}, true);
    if (running && !more)
        link().endChain(Chain::CashiersRead, k < kCashiers ? ChainEnd::Stopped : ChainEnd::Completed);
}

void CashiersSection::forgetBrokenOffReply()
{
    // A Cancel (of this or the article transfer) or a chain that stopped inside a reply must not
    // swallow the first reply of the chain that starts now.
    link().clearRx();
    link().setCancelFlag(false);
}

bool CashiersSection::putName(int k, const QString &name, int minimumBytes)
{
    link().clearTx();
    link().setTx(kNumberPos, uint8_t(k));
    const QByteArray bytes = CashierRecord::nameField(name);
    if (bytes.size() < minimumBytes)
        return false;
    link().putTx(kNamePos, bytes, CashierRecord::kNameMaxChars);
    return true;
}

void CashiersSection::dataError()
{
    showError(UiText(Txt::DataErrorCancelled));
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
    if (!link().beginChain(Chain::CashiersWrite))
        return;
    forgetBrokenOffReply();
    beginWrite(1);
    lastWritten_ = 0;
    // The first cashier needs a name of at least one character.
    if (!putName(1, name(0), 1)) {
        link().endChain(Chain::CashiersWrite, ChainEnd::Stopped);
        dataError();
    } else if (!link().SendAwaitingReply(kWriteCode, kWriteRequestCount)) {
        link().endChain(Chain::CashiersWrite, ChainEnd::Stopped);
    } else {
        lastWritten_ = 1;
    }
    endWrite();
}

void CashiersSection::writeReply()
{
    const int k = link().rx(kNumberPos);
    // Once the last cashier is written the device asks for the one after it: the write is complete.
    const bool complete = k == kCashiers + 1 && lastWritten_ == kCashiers;
    lastWritten_ = 0;
    if (complete) {
        endWrite();
        return;
    }
    beginWrite(1);
    if (k == kCashiers)
        link().setControlsEnabled({QStringLiteral("btnOWrite")}, true);
    // Every later cashier needs a name of at least two characters.
    const bool valid = putName(k, name(k - 1), 2);
    if (!valid || k > kCashiers) {
        link().endChain(Chain::CashiersWrite, ChainEnd::Stopped);
        dataError();
    } else if (!link().SendAwaitingReply(kWriteCode, kWriteRequestCount)) { // a silent device is reported
        link().endChain(Chain::CashiersWrite, ChainEnd::Stopped);
    } else {
        lastWritten_ = k;
        // The last cashier is on its way; the device's request for the one after it ends the write.
        if (k == kCashiers)
            link().endChain(Chain::CashiersWrite, ChainEnd::Completed);
    }
    endWrite();
}
