#include "FiscalDataSection.h"

#include "UiText.h"

#include <QGroupBox>

FiscalDataSection::FiscalDataSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    gbFiscData = new QGroupBox(parent);
    gbFiscData->setObjectName("gbFiscData");
    gbFiscData->setGeometry(geometry);
    gbFiscData->setTitle(QStringLiteral("Фискални подаци"));
}
