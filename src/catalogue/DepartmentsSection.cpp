#include "DepartmentsSection.h"

#include "UiText.h"

#include <QGroupBox>

DepartmentsSection::DepartmentsSection(SectionHost &host, QWidget *parent, const QRect &geometry)
    : Section(host, parent)
{
    gbStands = new QGroupBox(parent);
    gbStands->setObjectName("gbStands");
    gbStands->setGeometry(geometry);
    gbStands->setTitle(UiText(64));
}
