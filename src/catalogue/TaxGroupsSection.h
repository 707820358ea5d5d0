#pragma once
// Section of the main window for the nine tax-group rates and their change counter.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class TaxGroupsSection : public Section {
    Q_OBJECT
public:
    TaxGroupsSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *gbTaxGroups = nullptr;
};
