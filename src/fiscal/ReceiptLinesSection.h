#pragma once
// Section of the main window for receipt header and footer lines and customer-display lines.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class ReceiptLinesSection : public Section {
    Q_OBJECT
public:
    ReceiptLinesSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GBKlishe = nullptr;
};
