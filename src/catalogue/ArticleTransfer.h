#pragma once
// Section of the main window for the device-driven read and write chains of the whole article table.

#include "ArticlesSection.h"
#include "Section.h"

class QWidget;

class ArticleTransfer : public Section {
    Q_OBJECT
public:
    ArticleTransfer(SectionHost &host, ArticlesSection &articles);
};
