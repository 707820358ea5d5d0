#pragma once
// Section of the main window for the barcode scanner on its own serial port, feeding the article form.

#include "ArticlesSection.h"
#include "Section.h"

class QWidget;

class BarcodeReader : public Section {
    Q_OBJECT
public:
    BarcodeReader(SectionHost &host, ArticlesSection &articles);
};
