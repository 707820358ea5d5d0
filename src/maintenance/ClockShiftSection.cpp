#include "ClockShiftSection.h"

#include "UiText.h"

#include <QGroupBox>

ClockShiftSection::ClockShiftSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox3 = new QGroupBox(parent);
    GroupBox3->setObjectName("GroupBox3");
    GroupBox3->setGeometry(geometry);
    GroupBox3->setTitle(QStringLiteral("+1/-1 сат"));
}
