#include "TaxpayerSection.h"

#include "UiText.h"

#include <QGroupBox>

TaxpayerSection::TaxpayerSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GBCompany = new QGroupBox(parent);
    GBCompany->setObjectName("GBCompany");
    GBCompany->setGeometry(geometry);
    GBCompany->setTitle(UiText(55));
}
