#include "ReceiptLinesSection.h"

#include "UiText.h"

#include <QGroupBox>

ReceiptLinesSection::ReceiptLinesSection(SectionHost &host, QWidget *parent, const QRect &geometry)
    : Section(host, parent)
{
    GBKlishe = new QGroupBox(parent);
    GBKlishe->setObjectName("GBKlishe");
    GBKlishe->setGeometry(geometry);
    GBKlishe->setTitle(UiText(63));
}
