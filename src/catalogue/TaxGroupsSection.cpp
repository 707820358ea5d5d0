#include "TaxGroupsSection.h"

#include "UiText.h"

#include <QGroupBox>

TaxGroupsSection::TaxGroupsSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    gbTaxGroups = new QGroupBox(parent);
    gbTaxGroups->setObjectName("gbTaxGroups");
    gbTaxGroups->setGeometry(geometry);
    gbTaxGroups->setTitle(UiText(48));
}
