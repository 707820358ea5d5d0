#pragma once
// Section of the main window for saving the device's fiscal memory to a file.

#include "Section.h"

class QWidget;

class FmDumpSection : public Section {
    Q_OBJECT
public:
    FmDumpSection(SectionHost &host, QWidget *page);
};
