#pragma once
// Section of the main window for the printable report of the article table.

#include "ArticlesSection.h"
#include "Section.h"

class QWidget;

class ArticlesReport : public Section {
    Q_OBJECT
public:
    ArticlesReport(SectionHost &host, ArticlesSection &articles);
};
