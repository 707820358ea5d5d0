#pragma once
// The article chains: reading (request 0x80, article by article) and writing (0x85, the article the device asks for).

#include "ArticleRecord.h"
#include "DeviceLink.h"

#include <QObject>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class ArticleOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x80;
    static constexpr uint8_t kWriteCode = 0x85;
    static constexpr int kArticles = 60000;
    // Progress moves one step per this many articles (16 steps over the table).
    static constexpr int kArticlesPerStep = 3750;

    // Gives the record of article n for the write; false, with the reason in plain words, when
    // that article cannot be sent (the write then stops before it).
    using Source = std::function<bool(int n, ArticleRecord &record, QString &reason)>;

    explicit ArticleOps(DeviceLink &link, QObject *parent = nullptr);

    // Progress bar position while a chain works on article `next`: one step per 3750 articles,
    // back to 0 once the end of the table is reached.
    static int progressFor(int next);

    // Starts the read chain with the request for article `from`; it ends after the reply for `to`,
    // or once the device's number passes it (a record past `to` is not published). The defaults
    // read the whole table. False when it did not start (the link is busy with another chain and
    // has said so), the range is not within 1..60000, or the first request could not be written
    // (the chain then ended as Stopped).
    bool read(int from = 1, int to = kArticles);
    // Starts the write chain with the record of article `from` from `source`; every later record is
    // the one the device asks for while it lies within from..to, and the write ends once the device
    // asks for one outside. False as for read(), and when article `from` cannot be sent.
    bool write(Source source, int from = 1, int to = kArticles);
    // One write chain over several ranges (ascending, each within 1..60000): each range is written
    // as write() does, and once the device asks for an article outside the range, the next range
    // goes on at once with the record of its first article (every record carries its own number),
    // so the device is not left idle between the ranges.
    using Blocks = std::vector<std::pair<int, int>>;
    bool writeBlocks(Source source, Blocks blocks);
    // Breaks the running chain off as the Cancel button does.
    void cancel();

    bool reading() const { return link_.chain() == DeviceLink::Chain::ArticlesRead; }
    bool writing() const { return link_.chain() == DeviceLink::Chain::ArticlesWrite; }
    // Number of the article the running (or last) chain asked for (read) or sent (write), and how
    // many articles it has stored (read) or the device acknowledged (write).
    int currentArticle() const { return article_; }
    int articlesDone() const { return done_; }
    // The last chain was stopped by these operations themselves: a record that could not be sent
    // (stopReason() says why) or a request the link could not write (stopReason() empty; the link
    // has shown why). Valid from the chain's end until the next chain starts.
    bool stoppedItself() const { return stoppedItself_; }
    const QString &stopReason() const { return stopReason_; }
    // Where the running chain stands, for the link's error and no-answer messages.
    QString describeEnd(DeviceLink::ChainEnd how) const;

signals:
    // Reply 0x80, asked for or not: a reply after the read ended is still published.
    void articleArrived(const ArticleRecord &record);
    // After reply 0x80 was handled and the next request (if any) sent: `next` is the article the
    // read goes on with, above 60000 when it has reached the end.
    void readStepped(int next);
    // Reply 0x85 of the running write: the device asks for article `n`.
    void writeAsked(int n);
    // A write of several ranges goes on with the range from..to (its record `from` goes out next).
    void blockStarted(int from, int to);
    // The record of article `n` went out.
    void recordSent(int n);
    // Article `n` cannot be sent; the write stops before it.
    void recordRefused(int n, const QString &reason);
    // After reply 0x85 was handled: `stopped` when the write could not go on.
    void writeStepped(int n, bool stopped);

private:
    bool begin(DeviceLink::Chain chain, int from, int to);
    bool inRange(int n) const { return n >= from_ && n <= to_; }
    // Sends the read request for article n; false (the chain stopped) when it could not be sent.
    bool requestArticle(int n);
    // The same without stopping: false when the link could not write it.
    bool sendRequest(int n);
    // Puts the record of article n into the transmit buffer (positions 4..53); false, with the
    // reason, when it cannot be sent.
    bool putRecord(int n, QString &reason);
    // Publishes why article n cannot be sent.
    void refuse(int n, const QString &reason);
    void readReply();
    void writeReply();
    // Ends the running chain for a reason already made known.
    void stop();

    DeviceLink &link_;
    Source source_;
    DeviceLink::Chain kind_ = DeviceLink::Chain::None; // the last article chain started
    int from_ = 1;                                     // the range of the running (or last) chain
    int to_ = kArticles;
    Blocks blocks_; // the ranges of the running (or last) write, from_..to_ the current one
    size_t block_ = 0;
    int article_ = 0;
    int done_ = 0;
    bool stoppedItself_ = false;
    QString stopReason_;
};
