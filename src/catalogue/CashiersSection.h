#pragma once
// Section of the main window for the 64 cashier names and their read and write chains.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class CashiersSection : public Section {
    Q_OBJECT
public:
    CashiersSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *gbOperators = nullptr;
};
