#include "TaxpayerSection.h"

#include "Device.h"
#include "DeviceLink.h"
#include "LabelledEdit.h"
#include "LinkView.h"
#include "MakeWidget.h"
#include "TaxpayerOps.h"
#include "UiText.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int kTypingLimit = 31;
} // namespace

TaxpayerSection::TaxpayerSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GBCompany = new QGroupBox(parent);
    GBCompany->setObjectName("GBCompany");
    GBCompany->setGeometry(geometry);
    GBCompany->setTitle(UiText(55));

    struct Row {
        QLineEdit **edit;
        const char *name;
        int entry;
    };
    const Row rows[] = {{&edtPr_Tel, "edtPr_Tel", 68},
                        {&edtPr_Name, "edtPr_Name", 44},
                        {&edtDZL_Name, "edtDZL_Name", 91},
                        {&edtDZL_Addr, "edtDZL_Addr", 67},
                        {&edtDZL_Bulstat, "edtDZL_Bulstat", 45}};
    QFont bold = GBCompany->font();
    bold.setBold(true);
    int y = 22;
    for (const Row &r : rows) {
        QLineEdit *e =
            LabelledEdit::create(GBCompany, r.name, UiText(r.entry), {8, y + 3}, QRect(160, y, 224, 21), kTypingLimit);
        setEnabledColour(e, {QPalette::Base}, QColor(0xFF, 0xFF, 0xE1)); // pale information background
        setEnabledColour(e, {QPalette::Text}, Qt::blue);
        e->setFont(bold);
        *r.edit = e;
        y += 26;
    }

    btnCompanyRead = new QPushButton(UiText(Txt::Read), GBCompany);
    btnCompanyRead->setObjectName("btnCompanyRead");
    btnCompanyRead->setGeometry(160, 150, 110, 25);
    btnCompanyWrite = new QPushButton(UiText(Txt::Write), GBCompany);
    btnCompanyWrite->setObjectName("btnCompanyWrite");
    btnCompanyWrite->setGeometry(274, 150, 110, 25);

    connect(btnCompanyRead, &QPushButton::clicked, this, &TaxpayerSection::btnCompanyReadClick);
    connect(btnCompanyWrite, &QPushButton::clicked, this, &TaxpayerSection::btnCompanyWriteClick);
    connect(&device().taxpayer(), &TaxpayerOps::received, this, &TaxpayerSection::showRecord);
}

QLineEdit *TaxpayerSection::fieldEdit(int field) const
{
    switch (field) {
    case TaxpayerRecord::PrName:
        return edtPr_Name;
    case TaxpayerRecord::DzlAddr:
        return edtDZL_Addr;
    case TaxpayerRecord::PrTel:
        return edtPr_Tel;
    case TaxpayerRecord::DzlName:
        return edtDZL_Name;
    default:
        return edtDZL_Bulstat;
    }
}

void TaxpayerSection::btnCompanyReadClick()
{
    if (refuseOutsideServiceMode())
        return;
    beginRead();
    device().taxpayer().read();
}

void TaxpayerSection::showRecord(const TaxpayerRecord &r)
{
    view().setProgress(16);
    btnCompanyWrite->setEnabled(true);
    for (int i = 0; i < TaxpayerRecord::kFieldCount; ++i)
        LabelledEdit::setTextUncut(fieldEdit(i), r.fields[size_t(i)]);
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
}

void TaxpayerSection::btnCompanyWriteClick()
{
    if (!link().serviceMode())
        return;
    QStringList texts;
    for (int i = 0; i < TaxpayerRecord::kFieldCount; ++i)
        texts.append(fieldEdit(i)->text());
    if (!confirmCodePage(texts))
        return;
    beginWrite(16);
    TaxpayerRecord r;
    for (int i = 0; i < TaxpayerRecord::kFieldCount; ++i)
        r.fields[size_t(i)] = fieldEdit(i)->text();
    if (device().taxpayer().write(r) == TaxpayerOps::Write::Invalid)
        showError(UiText(Txt::DataError));
    endWrite();
}
