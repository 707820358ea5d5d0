#pragma once
// Section of the main window for the device-driven read and write chains of the whole article table.

#include "ArticlesSection.h"
#include "Section.h"

class PaintThrottle;

class ArticleTransfer : public Section {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x80;
    static constexpr uint8_t kWriteCode = 0x85;
    // Progress moves one step per this many articles (16 steps over the table).
    static constexpr int kArticlesPerStep = 3750;

    ArticleTransfer(SectionHost &host, ArticlesSection &articles);

    void btnAReadClick();
    void btnAWriteClick();
    void BtnOtkazClick();

    // Progress bar position while the chain works on article `next`: one step per 3750 articles,
    // back to 0 once the end of the table is reached.
    static int progressFor(int next);

private:
    void readReply();
    void writeReply();
    // Puts the record of grid row r into the transmit buffer (positions 4..53). False, with the
    // error shown, when the row cannot be sent.
    bool putRecord(int r);

    ArticlesSection &articles_;
    // lblBrojac and lblArt change with every reply; they are painted a few times a second.
    PaintThrottle *counters_ = nullptr;
};
