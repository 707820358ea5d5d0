#pragma once
// Section of the main window for fiscal data: serial numbers, tax number, date of fiscalisation.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class FiscalDataSection : public Section {
    Q_OBJECT
public:
    FiscalDataSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *gbFiscData = nullptr;
};
