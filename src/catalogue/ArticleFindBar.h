#pragma once
// Finding an article from the article form: go to an article number, or on to the next article whose
// name or barcode holds a text. The table's order stays as it is; only the current row moves.

#include "Section.h"

class ArticlesSection;
class QLineEdit;
class QPushButton;

class ArticleFindBar : public Section {
    Q_OBJECT
public:
    ArticleFindBar(SectionHost &host, ArticlesSection &articles);

    void activate() override;

    // A whole number 1..60000 makes that article's row current, unless it is current already; any
    // other text (or the same number again) moves on to the next row, after the current one and
    // round past the end, whose name or barcode holds it, letter case aside. True when a row was found.
    bool findNext(const QString &text);
    void btnFindClick();

    QLineEdit *edtFind = nullptr;
    QPushButton *btnFind = nullptr;

private:
    ArticlesSection &articles_;
};
