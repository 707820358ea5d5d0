#pragma once
// Section of the main window for taxpayer data: the five name, address and number lines.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class TaxpayerSection : public Section {
    Q_OBJECT
public:
    TaxpayerSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GBCompany = nullptr;
};
