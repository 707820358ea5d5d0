#include "LogoSection.h"

#include "UiText.h"

#include <QGroupBox>

LogoSection::LogoSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GBLogo = new QGroupBox(parent);
    GBLogo->setObjectName("GBLogo");
    GBLogo->setGeometry(geometry);
    GBLogo->setTitle(UiText(54));
}
