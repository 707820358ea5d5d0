#include "ParametersSection.h"

#include "UiText.h"

#include <QGroupBox>

ParametersSection::ParametersSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox2 = new QGroupBox(parent);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(geometry);
    GroupBox2->setTitle(QStringLiteral("Остали параметри"));
}
