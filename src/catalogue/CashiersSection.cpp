#include "CashiersSection.h"

#include "UiText.h"

#include <QGroupBox>

CashiersSection::CashiersSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    gbOperators = new QGroupBox(parent);
    gbOperators->setObjectName("gbOperators");
    gbOperators->setGeometry(geometry);
    gbOperators->setTitle(UiText(82));
}
