#include "NetworkSection.h"

#include "UiText.h"

#include <QGroupBox>

NetworkSection::NetworkSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox1 = new QGroupBox(parent);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(geometry);
    GroupBox1->setTitle(QStringLiteral("IP адреса"));
}
