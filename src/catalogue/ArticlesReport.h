#pragma once
// Section of the main window for the printable report of the article table.

#include "ArticlesSection.h"
#include "Section.h"

class QWidget;
class TizvestajForm;

class ArticlesReport : public Section {
    Q_OBJECT
public:
    ArticlesReport(SectionHost &host, ArticlesSection &articles);

    // Fills the record list from the table and opens the print preview.
    void BitBtn1Click();
    // The same report written to a PDF file; false when it could not be written.
    bool renderToPdf(const QString &path);

    TizvestajForm &form() { return *form_; }

private:
    void fillRecords();

    ArticlesSection &articles_;
    TizvestajForm *form_ = nullptr;
};
