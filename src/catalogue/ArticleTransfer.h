#pragma once
// Section of the main window for the device-driven read and write chains of the whole article table.

#include "ArticlesSection.h"
#include "DeviceLink.h"
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

    // Number of the article the running (or last) transfer works on, and how many it has done.
    int currentArticle() const { return article_; }
    int articlesDone() const { return done_; }

private:
    void readReply();
    void writeReply();
    // Starts a chain; false when the link is busy with another one.
    bool begin(DeviceLink::Chain chain);
    // Sends the read request for article n; false (the chain stopped) when it could not be sent.
    bool requestArticle(int n);
    // The words the link adds to its error and no-answer messages.
    QString describeEnd(DeviceLink::ChainEnd how) const;
    // The chain ended: progress back to 0, the counters painted, and how it ended told.
    void onChainEnded(DeviceLink::Chain chain, DeviceLink::ChainEnd how);
    // Ends the running chain for a reason already shown to the user.
    void stopQuietly();
    bool reading() { return link().chain() == DeviceLink::Chain::ArticlesRead; }
    bool writing() { return link().chain() == DeviceLink::Chain::ArticlesWrite; }
    // Puts the record of grid row r into the transmit buffer (positions 4..53). False, with the
    // error shown, when the row cannot be sent.
    bool putRecord(int r);

    ArticlesSection &articles_;
    // lblBrojac and lblArt change with every reply; they are painted a few times a second.
    PaintThrottle *counters_ = nullptr;
    DeviceLink::Chain kind_ = DeviceLink::Chain::None; // the last article chain started
    int article_ = 0;                                  // asked for (read) or sent (write) last
    int done_ = 0;                                     // articles stored (read) or acknowledged (write)
    bool quietEnd_ = false;
};
