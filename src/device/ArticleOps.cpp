#include "ArticleOps.h"

#include "ToolText.h"

namespace {
constexpr int kRecordPos = 4;                                // first data position of both frames
constexpr int kReadRequestCount = 6;                         // 0x5F, code, length, number (2), CR
constexpr int kWriteRequestCount = ArticleRecord::kSize + 4; // 0x5F, code, length, record, CR
using Chain = DeviceLink::Chain;
using ChainEnd = DeviceLink::ChainEnd;
} // namespace

ArticleOps::ArticleOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { readReply(); });
    link_.onReply(kWriteCode, [this] { writeReply(); });
    // A write's source (the caller's data) is not kept once the write has ended.
    connect(&link_, &DeviceLink::chainEnded, this, [this](Chain chain, ChainEnd) {
        if (chain == Chain::ArticlesWrite)
            source_ = nullptr;
    });
}

int ArticleOps::progressFor(int next)
{
    return next > kArticles - 1 ? 0 : next / kArticlesPerStep + 1;
}

bool ArticleOps::begin(DeviceLink::Chain chain, int from, int to)
{
    if (from < 1 || to > kArticles || from > to)
        return false;
    if (!link_.beginChain(chain, [this](ChainEnd how) { return describeEnd(how); }))
        return false;
    kind_ = chain;
    from_ = from;
    to_ = to;
    article_ = from;
    done_ = 0;
    stoppedItself_ = false;
    stopReason_.clear();
    link_.setCancelFlag(false);
    return true;
}

bool ArticleOps::read(int from, int to)
{
    if (!begin(Chain::ArticlesRead, from, to))
        return false;
    return requestArticle(from);
}

bool ArticleOps::requestArticle(int n)
{
    if (sendRequest(n))
        return true;
    stop(); // the link has shown why the request could not go out
    return false;
}

bool ArticleOps::sendRequest(int n)
{
    article_ = n;
    link_.setTx(kRecordPos, uint8_t(n));
    link_.setTx(kRecordPos + 1, uint8_t(n >> 8));
    return link_.SendAwaitingReply(kReadCode, kReadRequestCount);
}

void ArticleOps::readReply()
{
    const ArticleRecord record = ArticleRecord::decode(link_.rxAt(kRecordPos));
    const int n = record.number;
    // A reply after the read ended (cancelled, no answer, an error) is still published, but asks
    // for nothing more: another operation may be using the link by now.
    const bool running = reading();
    // While a read runs, a record outside its range is not published: rows outside stay untouched.
    const bool outside = running && n >= 1 && n <= kArticles && !inRange(n);
    if (running && n >= 1 && n <= kArticles && !outside)
        ++done_;
    int next = n;
    bool sent = true;
    if (n <= to_) {
        next = n + 1;
        // The next request goes out before this record is taken in: the line does not wait while
        // the grid and the counters are updated.
        if (next <= to_ && running)
            sent = sendRequest(next);
    }
    if (!outside)
        emit articleArrived(record);
    if (!sent) {
        stop(); // the link has shown why the request could not go out
        return;
    }
    emit readStepped(next);
    if (running && next > to_)
        link_.endChain(kind_, ChainEnd::Completed);
}

bool ArticleOps::write(Source source, int from, int to)
{
    return writeBlocks(std::move(source), {{from, to}});
}

bool ArticleOps::writeBlocks(Source source, Blocks blocks)
{
    for (size_t i = 0; i < blocks.size(); ++i) {
        const auto [from, to] = blocks[i];
        if (from < 1 || to > kArticles || from > to || (i > 0 && from <= blocks[i - 1].second))
            return false;
    }
    if (blocks.empty() || !begin(Chain::ArticlesWrite, blocks.front().first, blocks.front().second))
        return false;
    blocks_ = std::move(blocks);
    block_ = 0;
    source_ = std::move(source);
    // What a broken-off chain left behind must not swallow the first reply.
    link_.clearRx();
    link_.clearTx();
    // The first frame waits for its reply like every other one: a silent device is reported.
    QString refusal;
    const bool put = putRecord(from_, refusal);
    if (put && link_.SendAwaitingReply(kWriteCode, kWriteRequestCount))
        return true;
    if (!put)
        refuse(from_, refusal);
    stop();
    return false;
}

void ArticleOps::writeReply()
{
    if (!writing())
        return; // nothing is sent for a write that already ended
    const int n = link_.rx(kRecordPos) | (link_.rx(kRecordPos + 1) << 8);
    ++done_; // the reply acknowledges the record sent before it
    bool stopped = false;
    // A number below the range ends the range like one past it; below 1 it is refused as before.
    const bool within = n <= to_ && (n < 1 || n >= from_);
    // Outside the range, the next range (if any) goes on with its own first article.
    const bool nextBlock = !within && block_ + 1 < blocks_.size();
    if (nextBlock) {
        ++block_;
        from_ = blocks_[block_].first;
        to_ = blocks_[block_].second;
    }
    bool sent = false;
    bool refused = false;
    QString refusal;
    if (within || nextBlock) {
        const int send = within ? n : from_;
        link_.clearTx();
        article_ = send;
        // The next record goes out before the acknowledgement is taken in: the line does not wait
        // while the grid and the counters are updated.
        if (!putRecord(send, refusal))
            stopped = refused = true;
        else if (link_.SendAwaitingReply(kWriteCode, kWriteRequestCount))
            sent = true;
        else
            stopped = true;
    }
    emit writeAsked(n);
    if (nextBlock)
        emit blockStarted(from_, to_);
    if (sent)
        emit recordSent(article_);
    else if (refused)
        refuse(article_, refusal);
    emit writeStepped(n, stopped);
    if (stopped)
        stop();
    else if (!within && !nextBlock)
        link_.endChain(kind_, ChainEnd::Completed);
}

bool ArticleOps::putRecord(int n, QString &reason)
{
    ArticleRecord record;
    const bool ok = n >= 1 && source_ && source_(n, record, reason);
    if (n < 1)
        reason = ToolText::articleDoesNotExist(n);
    if (!ok)
        return false;
    record.number = uint16_t(n);
    uint8_t bytes[ArticleRecord::kSize];
    record.encode(bytes);
    for (int i = 0; i < ArticleRecord::kSize; ++i)
        link_.setTx(kRecordPos + i, bytes[i]);
    return true;
}

void ArticleOps::refuse(int n, const QString &reason)
{
    stopReason_ = reason;
    emit recordRefused(n, reason);
}

void ArticleOps::cancel()
{
    link_.BtnOtkazClick();
}

void ArticleOps::stop()
{
    stoppedItself_ = true;
    link_.endChain(kind_, ChainEnd::Stopped);
}

QString ArticleOps::describeEnd(DeviceLink::ChainEnd how) const
{
    const bool read = kind_ == Chain::ArticlesRead;
    QString text =
        read ? ToolText::articlesReadStopped(article_, done_) : ToolText::articlesWriteStopped(article_, done_);
    if (how == ChainEnd::DeviceError)
        text = ToolText::errorConcernsArticle(article_) + QLatin1Char(' ') + text;
    return text;
}
