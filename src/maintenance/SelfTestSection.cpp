#include "SelfTestSection.h"

#include "UiText.h"

#include <QGroupBox>

SelfTestSection::SelfTestSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox4 = new QGroupBox(parent);
    GroupBox4->setObjectName("GroupBox4");
    GroupBox4->setGeometry(geometry);
    GroupBox4->setTitle(QStringLiteral("Тестови"));
}
