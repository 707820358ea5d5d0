#include "DateTimeSection.h"

#include "UiText.h"

#include <QGroupBox>

DateTimeSection::DateTimeSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GBTimeDate = new QGroupBox(parent);
    GBTimeDate->setObjectName("GBTimeDate");
    GBTimeDate->setGeometry(geometry);
    GBTimeDate->setTitle(UiText(83));
}
