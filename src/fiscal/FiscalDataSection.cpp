#include "FiscalDataSection.h"

#include "MakeWidget.h"

#include "DateTimeFormats.h"
#include "Device.h"
#include "DeviceLink.h"
#include "FiscalDataOps.h"
#include "LabelledEdit.h"
#include "LastFiscalDateTime.h"
#include "LinkView.h"
#include "UiText.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

namespace {
void setWhiteBackground(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, Qt::white);
    w->setPalette(p);
}
} // namespace

FiscalDataSection::FiscalDataSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    gbFiscData = new QGroupBox(parent);
    gbFiscData->setObjectName("gbFiscData");
    gbFiscData->setGeometry(geometry);
    gbFiscData->setTitle(QStringLiteral("Фискални подаци"));
    setEnabledColour(gbFiscData, {QPalette::WindowText}, Qt::red);

    // Left column: the two serial numbers (read-only, filled by a read) and the tax number.
    edtEKAFP_Ser_No =
        LabelledEdit::create(gbFiscData, "edtEKAFP_Ser_No", UiText(84), {8, 18}, QRect(8, 33, 180, 21), 10, false);
    edtFP_Ser_No =
        LabelledEdit::create(gbFiscData, "edtFP_Ser_No", UiText(85), {8, 60}, QRect(8, 75, 180, 21), 12, false);
    edtDZL_DanNo = LabelledEdit::create(gbFiscData, "edtDZL_DanNo", UiText(56), {8, 102}, QRect(8, 117, 180, 21), 13);
    for (QLineEdit *e : {edtEKAFP_Ser_No, edtFP_Ser_No}) {
        e->setReadOnly(true);
        e->setEnabled(false);
    }

    // Right column: date and time of putting into operation, then the buttons.
    GB1 = new QGroupBox(UiText(53), gbFiscData);
    GB1->setObjectName("GB1");
    GB1->setGeometry(204, 16, 240, 104);
    Label1 = new QLabel(UiText(57), GB1);
    Label1->setObjectName("Label1");
    Label1->move(10, 30);
    dtpDate = new QDateEdit(GB1);
    dtpDate->setObjectName("dtpDate");
    dtpDate->setGeometry(70, 26, 150, 22);
    dtpDate->setDisplayFormat(DateTimeFormats::pickerDate());
    dtpDate->setMinimumDate(QDate(100, 1, 1)); // the earliest a picker can show
    dtpDate->setCalendarPopup(true);
    Label2 = new QLabel(UiText(96), GB1);
    Label2->setObjectName("Label2");
    Label2->move(10, 66);
    dtpTime = new QTimeEdit(GB1);
    dtpTime->setObjectName("dtpTime");
    dtpTime->setGeometry(70, 62, 150, 22);
    dtpTime->setDisplayFormat(DateTimeFormats::longTime());

    btnRead = new QPushButton(UiText(Txt::Read), gbFiscData);
    btnRead->setObjectName("btnRead");
    btnRead->setGeometry(204, 132, 118, 25);
    btnWrite = new QPushButton(UiText(Txt::Write), gbFiscData);
    btnWrite->setObjectName("btnWrite");
    btnWrite->setGeometry(326, 132, 118, 25);

    connect(btnRead, &QPushButton::clicked, this, &FiscalDataSection::btnReadClick);
    connect(btnWrite, &QPushButton::clicked, this, &FiscalDataSection::btnWriteClick);
    connect(&device().fiscalData(), &FiscalDataOps::received, this, &FiscalDataSection::showRecord);
    setPickersToNow();
}

void FiscalDataSection::setPickersToNow()
{
    dtpDate->setDate(QDate::currentDate());
    dtpTime->setTime(DateTimeFormats::nowWholeSeconds());
}

void FiscalDataSection::activate()
{
    setPickersToNow();
}

void FiscalDataSection::btnReadClick()
{
    if (refuseOutsideServiceMode())
        return;
    beginRead();
    device().fiscalData().read();
}

void FiscalDataSection::showRecord(const FiscalDataRecord &r)
{
    view().setProgress(16);
    LabelledEdit::setTextUncut(edtFP_Ser_No, r.fiscalMemorySerial);
    LabelledEdit::setTextUncut(edtEKAFP_Ser_No, r.cashRegisterSerial);
    LabelledEdit::setTextUncut(edtDZL_DanNo, r.taxNumber);
    if (!r.fiscalised) {
        setPickersToNow();
        btnWrite->setEnabled(true);
        edtDZL_DanNo->setEnabled(true);
    } else {
        dtpDate->setDate(r.date);
        dtpTime->setTime(r.time);
        setWhiteBackground(dtpDate);
        setWhiteBackground(dtpTime);
        for (QWidget *w : std::initializer_list<QWidget *>{edtDZL_DanNo, btnWrite, dtpDate, dtpTime, GB1})
            w->setEnabled(false);
    }
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
}

void FiscalDataSection::btnWriteClick()
{
    if (!link().serviceMode())
        return;
    if (!confirmCodePage({edtEKAFP_Ser_No->text(), edtFP_Ser_No->text(), edtDZL_DanNo->text()}))
        return;
    if (view().showDialog(UiText(Txt::TitleWarning), UiText(Txt::FiscalizeQuestion), true) != 1)
        return;
    beginWrite(16);
    const FiscalDataOps::Write sent =
        device().fiscalData().write(edtEKAFP_Ser_No->text(), edtFP_Ser_No->text(), edtDZL_DanNo->text());
    if (sent == FiscalDataOps::Write::Invalid) {
        showError(UiText(Txt::DataError));
    } else if (sent == FiscalDataOps::Write::Sent) {
        // Only a request that went out fiscalises; a failed write leaves everything as it was.
        for (QWidget *w : std::initializer_list<QWidget *>{btnWrite, dtpDate, dtpTime, edtDZL_DanNo})
            w->setEnabled(false);
        LastFiscalDateTime::of(host().window()).set(dtpDate->date(), dtpTime->time());
    }
    endWrite();
}
