#include "ArticleTransfer.h"

#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "PaintThrottle.h"
#include "ToolText.h"
#include "UiText.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {
constexpr int kRecordPos = 4;                                // first data position of both frames
constexpr int kReadRequestCount = 6;                         // 0x5F, code, length, number (2), CR
constexpr int kWriteRequestCount = ArticleRecord::kSize + 4; // 0x5F, code, length, record, CR
constexpr int kArticles = ArticleModel::kArticles;
using Chain = DeviceLink::Chain;
using ChainEnd = DeviceLink::ChainEnd;
} // namespace

ArticleTransfer::ArticleTransfer(SectionHost &host, ArticlesSection &articles) : Section(host), articles_(articles)
{
    counters_ = new PaintThrottle({articles_.lblBrojac, articles_.lblArt}, 40, this);
    // Labels of a fixed size do not ask their group box to lay out again with every new number.
    for (QLabel *l : {articles_.lblBrojac, articles_.lblArt})
        l->setFixedSize(l->size());
    connect(articles_.btnARead, &QPushButton::clicked, this, &ArticleTransfer::btnAReadClick);
    connect(articles_.btnAWrite, &QPushButton::clicked, this, &ArticleTransfer::btnAWriteClick);
    connect(articles_.BtnOtkaz, &QPushButton::clicked, this, &ArticleTransfer::BtnOtkazClick);
    connect(&link(), &DeviceLink::chainEnded, this, &ArticleTransfer::onChainEnded);
    link().onReply(kReadCode, [this] { readReply(); });
    link().onReply(kWriteCode, [this] { writeReply(); });
}

int ArticleTransfer::progressFor(int next)
{
    return next > kArticles - 1 ? 0 : next / kArticlesPerStep + 1;
}

bool ArticleTransfer::begin(DeviceLink::Chain chain)
{
    if (!link().beginChain(chain, [this](ChainEnd how) { return describeEnd(how); }))
        return false;
    kind_ = chain;
    article_ = 1;
    done_ = 0;
    quietEnd_ = false;
    return true;
}

bool ArticleTransfer::requestArticle(int n)
{
    article_ = n;
    link().setTx(kRecordPos, uint8_t(n));
    link().setTx(kRecordPos + 1, uint8_t(n >> 8));
    if (link().SendAwaitingReply(kReadCode, kReadRequestCount))
        return true;
    stopQuietly(); // the link has shown why the request could not go out
    return false;
}

void ArticleTransfer::btnAReadClick()
{
    // A click that still arrives while another operation runs must not touch its receive buffer.
    if (link().refuseWhileBusy())
        return;
    // Whatever a broken-off frame left behind must not swallow the first reply.
    link().clearRx();
    if (refuseOutsideServiceMode())
        return;
    if (!begin(Chain::ArticlesRead))
        return;
    view().setCancelButtonVisible(true);
    link().setCancelFlag(false);
    view().setStatusText(UiText(Txt::PleaseWait));
    requestArticle(1);
}

void ArticleTransfer::readReply()
{
    const ArticleRecord record = ArticleRecord::decode(link().rxAt(kRecordPos));
    const int n = record.number;
    // A reply after the read ended (cancelled, no answer, an error) still fills its row, but asks
    // for nothing more: another operation may be using the link by now.
    const bool running = reading();
    counters_->aboutToChange();
    articles_.lblBrojac->setText(QString::number(n));
    int next = n;
    if (n <= kArticles) {
        if (n >= 1) {
            ArticleModel &m = articles_.model();
            m.setCell(ArticleModel::Name, n, record.nameText());
            m.setCell(ArticleModel::Barcode, n, record.barcodeText());
            m.setCell(ArticleModel::Department, n, record.departmentText());
            m.setCell(ArticleModel::Price, n, record.priceText(QLocale()));
            m.setCell(ArticleModel::Tax, n, record.taxText());
            if (running)
                ++done_;
        }
        next = n + 1;
        if (next > kArticles) {
            articles_.sgArticles->setCurrentIndex(articles_.model().index(0, ArticleModel::Name));
            articles_.loadFormFromRow(1);
        } else if (running && !requestArticle(next)) {
            return;
        }
    }
    articles_.lblArt->setText(QString::number(next - 1));
    view().setProgress(progressFor(next));
    if (next > kArticles)
        counters_->release();
    view().setStatusText(UiText(Txt::InServiceMode));
    link().setControlsEnabled({QStringLiteral("btnAWrite")}, true);
    if (running && next > kArticles)
        link().endChain(kind_, ChainEnd::Completed);
}

void ArticleTransfer::btnAWriteClick()
{
    if (!link().serviceMode())
        return;
    if (!confirmCodePage(articles_.model().columnTexts(ArticleModel::Name)))
        return;
    if (!begin(Chain::ArticlesWrite))
        return;
    // As for the read: what a broken-off chain left behind must not swallow the first reply.
    link().clearRx();
    view().setCancelButtonVisible(true);
    link().setCancelFlag(false);
    beginWrite(1);
    link().clearTx();
    // The first frame waits for its reply like every other one: a silent device is reported.
    if (!putRecord(1) || !link().SendAwaitingReply(kWriteCode, kWriteRequestCount))
        stopQuietly();
    endWrite();
}

void ArticleTransfer::writeReply()
{
    if (!writing())
        return; // nothing is sent for a write that already ended
    const int n = link().rx(kRecordPos) | (link().rx(kRecordPos + 1) << 8);
    ++done_; // the reply acknowledges the record sent before it
    counters_->aboutToChange();
    articles_.lblBrojac->setText(QString::number(n));
    bool stopped = false;
    if (n <= kArticles) {
        link().clearTx();
        article_ = n;
        if (putRecord(n) && link().SendAwaitingReply(kWriteCode, kWriteRequestCount))
            articles_.lblArt->setText(QString::number(n));
        else
            stopped = true;
    }
    if (stopped || n > kArticles)
        counters_->release();
    view().setProgress(stopped ? 0 : progressFor(n));
    view().setStatusText(UiText(Txt::InServiceMode));
    if (stopped)
        stopQuietly();
    else if (n > kArticles)
        link().endChain(kind_, ChainEnd::Completed);
}

bool ArticleTransfer::putRecord(int r)
{
    if (r < 1) {
        showError(
            QStringLiteral("Фискални принтер је тражио артикал број %1, који не постоји. Упис је прекинут.").arg(r));
        return false;
    }
    const ArticleModel &m = articles_.model();
    ArticleRecord record;
    if (!ArticleRecord::fromCells(r, m.cell(ArticleModel::Name, r), m.cell(ArticleModel::Barcode, r),
                                  m.cell(ArticleModel::Department, r), m.cell(ArticleModel::Price, r),
                                  m.cell(ArticleModel::Tax, r), QLocale(), record)) {
        showError(QStringLiteral("Одељење артикла број %1 није цео број („%2“). Упис је прекинут; "
                                 "артикли пре њега су уписани.")
                      .arg(r)
                      .arg(m.cell(ArticleModel::Department, r)));
        return false;
    }
    uint8_t bytes[ArticleRecord::kSize];
    record.encode(bytes);
    for (int i = 0; i < ArticleRecord::kSize; ++i)
        link().setTx(kRecordPos + i, bytes[i]);
    return true;
}

void ArticleTransfer::BtnOtkazClick()
{
    link().BtnOtkazClick();
    counters_->release();
}

void ArticleTransfer::stopQuietly()
{
    quietEnd_ = true;
    link().endChain(kind_, ChainEnd::Stopped);
}

QString ArticleTransfer::describeEnd(DeviceLink::ChainEnd how) const
{
    const bool read = kind_ == Chain::ArticlesRead;
    QString text =
        read ? ToolText::articlesReadStopped(article_, done_) : ToolText::articlesWriteStopped(article_, done_);
    if (how == ChainEnd::DeviceError)
        text = ToolText::errorConcernsArticle(article_) + QLatin1Char(' ') + text;
    return text;
}

void ArticleTransfer::onChainEnded(DeviceLink::Chain chain, DeviceLink::ChainEnd how)
{
    if (chain != Chain::ArticlesRead && chain != Chain::ArticlesWrite)
        return;
    counters_->release();
    view().setProgress(0);
    const bool read = chain == Chain::ArticlesRead;
    switch (how) {
    case ChainEnd::Completed:
        view().showDialog(UiText(Txt::TitleInfo),
                          read ? ToolText::articlesReadCompleted(done_) : ToolText::articlesWriteCompleted(done_));
        break;
    case ChainEnd::Cancelled:
        view().showDialog(UiText(Txt::TitleWarning), read ? ToolText::articlesReadCancelled(article_, done_)
                                                          : ToolText::articlesWriteCancelled(article_, done_));
        break;
    case ChainEnd::Stopped:
        if (!quietEnd_)
            view().showDialog(UiText(Txt::TitleWarning), describeEnd(how));
        break;
    case ChainEnd::DeviceError:
    case ChainEnd::NoAnswer:
        // The link's own message already says where the transfer stopped.
    case ChainEnd::ConnectionLost:
    case ChainEnd::Abandoned:
        break;
    }
    quietEnd_ = false;
}
