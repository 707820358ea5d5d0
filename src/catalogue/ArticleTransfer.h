#pragma once
// Section of the main window for the device-driven read and write chains of the whole article table.

#include "ArticleModel.h"
#include "ArticleOps.h"
#include "ArticlesSection.h"
#include "DeviceLink.h"
#include "Section.h"

#include <utility>
#include <vector>

class PaintThrottle;

class ArticleTransfer : public Section {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = ArticleOps::kReadCode;
    static constexpr uint8_t kWriteCode = ArticleOps::kWriteCode;
    // Progress moves one step per this many articles (16 steps over the table).
    static constexpr int kArticlesPerStep = ArticleOps::kArticlesPerStep;

    ArticleTransfer(SectionHost &host, ArticlesSection &articles);

    // Read and write cover the range of the article page's "од" and "до" fields (whole table by default).
    void btnAReadClick();
    void btnAWriteClick();
    // Writes only the changed rows: one write chain per block of consecutive changed rows.
    void btnAWriteChangedClick();
    void BtnOtkazClick();

    // Progress bar position while the chain works on article `next`: one step per 3750 articles,
    // back to 0 once the end of the table is reached.
    static int progressFor(int next) { return ArticleOps::progressFor(next); }
    // The same over a range from..to: the whole table as above, a smaller range in 16 steps of its own.
    static int progressFor(int next, int from, int to);

    // Number of the article the running (or last) transfer works on, and how many it has done.
    int currentArticle() const { return ops_.currentArticle(); }
    int articlesDone() const { return ops_.articlesDone(); }

private:
    // Read reply: the row of the article, then the counters, progress and status once the next
    // article was asked for.
    void showArticle(const ArticleRecord &record);
    void readStepped(int next);
    // Write reply: the counters, progress and status.
    void writeAsked(int n);
    void writeStepped(int n, bool stopped);
    // The record of grid row r for the write; false, with the reason, when the row cannot be sent.
    bool recordOfRow(int r, ArticleRecord &record, QString &reason);
    // The chain ended: progress back to 0, the counters painted, and how it ended told.
    void onChainEnded(DeviceLink::Chain chain, DeviceLink::ChainEnd how);
    // Starts the write chain over the blocks (one block for a range); false when it did not start
    // (said already).
    bool startWrite(const ArticleOps::Blocks &blocks);

    // The range of the running (or last) chain; in a write of changed rows, the running block.
    int from_ = 1;
    int to_ = ArticleModel::kArticles;
    // The record sent last and not yet answered: its reply clears its row's changed mark.
    int unanswered_ = 0;
    // A write of changed rows: its blocks of consecutive rows and how many rows they hold.
    ArticleOps::Blocks blocks_;
    int changedTotal_ = 0;

    ArticlesSection &articles_;
    ArticleOps &ops_;
    // lblBrojac and lblArt change with every reply; they are painted a few times a second.
    PaintThrottle *counters_ = nullptr;
};
