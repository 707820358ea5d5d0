#include "ArticleTransfer.h"

#include "ArticleDataSet.h"
#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "Device.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "PaintThrottle.h"
#include "ToolText.h"
#include "UiText.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <algorithm>

namespace {
constexpr int kArticles = ArticleModel::kArticles;
static_assert(kArticles == ArticleOps::kArticles);
using Chain = DeviceLink::Chain;
using ChainEnd = DeviceLink::ChainEnd;
} // namespace

ArticleTransfer::ArticleTransfer(SectionHost &host, ArticlesSection &articles)
    : Section(host), articles_(articles), ops_(device().articles())
{
    // The counters and the count of changed rows in "Унос измена" change with every article of a
    // chain (each reply clears a row's mark): their painting is held back to a few frames.
    counters_ = new PaintThrottle({articles_.lblBrojac, articles_.lblArt, articles_.btnAWriteChanged}, 40, this);
    // Widgets of a fixed size do not ask their group box to lay out again with every new number.
    for (QWidget *w :
         std::initializer_list<QWidget *>{articles_.lblBrojac, articles_.lblArt, articles_.btnAWriteChanged})
        w->setFixedSize(w->size());
    // The button stands in its group box's title row, above the box's lighter panel, where the
    // background is the one it fills with: a new count repaints the button alone, not the group
    // box, the page and the window behind it. (The counters stand on the panel, which a filled
    // background would show as a darker patch.) In a chain of short exchanges that painting comes
    // right after a request went out, and holds up the system's delivery of the request to the line.
    articles_.btnAWriteChanged->setAutoFillBackground(true);
    connect(articles_.btnARead, &QPushButton::clicked, this, &ArticleTransfer::btnAReadClick);
    connect(articles_.btnAWrite, &QPushButton::clicked, this, &ArticleTransfer::btnAWriteClick);
    connect(articles_.btnAWriteChanged, &QPushButton::clicked, this, &ArticleTransfer::btnAWriteChangedClick);
    connect(articles_.BtnOtkaz, &QPushButton::clicked, this, &ArticleTransfer::BtnOtkazClick);
    connect(&link(), &DeviceLink::chainEnded, this, &ArticleTransfer::onChainEnded);
    connect(&ops_, &ArticleOps::articleArrived, this, &ArticleTransfer::showArticle);
    connect(&ops_, &ArticleOps::readStepped, this, &ArticleTransfer::readStepped);
    connect(&ops_, &ArticleOps::writeAsked, this, &ArticleTransfer::writeAsked);
    connect(&ops_, &ArticleOps::recordSent, this, [this](int n) {
        unanswered_ = n;
        articles_.lblArt->setText(QString::number(n));
    });
    connect(&ops_, &ArticleOps::blockStarted, this, [this](int from, int to) {
        from_ = from;
        to_ = to;
    });
    connect(&ops_, &ArticleOps::recordRefused, this, [this](int, const QString &reason) { showError(reason); });
    connect(&ops_, &ArticleOps::writeStepped, this, &ArticleTransfer::writeStepped);
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
    int from = 1, to = kArticles;
    if (!articles_.articleRange(from, to))
        return;
    from_ = from;
    to_ = to;
    blocks_.clear();
    view().setCancelButtonVisible(true);
    view().setStatusText(UiText(Txt::PleaseWait));
    ops_.read(from, to);
}

int ArticleTransfer::progressFor(int next, int from, int to)
{
    if (from == 1 && to == kArticles)
        return progressFor(next);
    if (next > to)
        return 0;
    return 1 + int(int64_t(std::max(next - from, 0)) * 15 / (to - from + 1));
}

void ArticleTransfer::showArticle(const ArticleRecord &record)
{
    const int n = record.number;
    counters_->aboutToChange();
    articles_.lblBrojac->setText(QString::number(n));
    if (n < 1 || n > kArticles)
        return;
    ArticleModel &m = articles_.model();
    // The row now holds what the device holds: it is no longer marked changed.
    m.storeDeviceRow(n, record.nameText(), record.barcodeText(), record.departmentText(), record.priceText(QLocale()),
                     record.taxText());
    // The end of the table, or of the range being read: the form goes back to the range's first row.
    if (n == kArticles || (ops_.reading() && n == to_)) {
        articles_.sgArticles->setCurrentIndex(m.index(from_ - 1, ArticleModel::Name));
        articles_.loadFormFromRow(from_);
    }
}

void ArticleTransfer::readStepped(int next)
{
    articles_.lblArt->setText(QString::number(next - 1));
    view().setProgress(progressFor(next, from_, to_));
    if (next > to_)
        counters_->release();
    view().setStatusText(UiText(Txt::InServiceMode));
    link().setControlsEnabled({QStringLiteral("btnAWrite")}, true);
}

void ArticleTransfer::btnAWriteClick()
{
    if (!link().serviceMode())
        return;
    int from = 1, to = kArticles;
    if (!articles_.articleRange(from, to))
        return;
    const ArticleModel &m = articles_.model();
    QStringList names;
    if (from == 1 && to == kArticles) {
        names = m.columnTexts(ArticleModel::Name);
    } else {
        for (int r = from; r <= to; ++r)
            names << m.cell(ArticleModel::Name, r);
    }
    if (!confirmCodePage(names))
        return;
    if (link().refuseWhileBusy())
        return;
    blocks_.clear();
    view().setCancelButtonVisible(true);
    startWrite({{from, to}});
}

bool ArticleTransfer::startWrite(const ArticleOps::Blocks &blocks)
{
    from_ = blocks.front().first;
    to_ = blocks.front().second;
    unanswered_ = 0;
    const bool started = ops_.writeBlocks(
        [this](int r, ArticleRecord &record, QString &reason) { return recordOfRow(r, record, reason); }, blocks);
    // The writing text is painted once the first record is on its way, not before it.
    if (started) {
        unanswered_ = from_;
        beginWrite(1);
    }
    endWrite();
    return started;
}

void ArticleTransfer::btnAWriteChangedClick()
{
    if (!link().serviceMode())
        return;
    const ArticleModel &m = articles_.model();
    const std::vector<int> rows = m.changedRows();
    if (rows.empty()) {
        view().showDialog(UiText(Txt::TitleInfo), ToolText::articlesNothingChanged());
        return;
    }
    QStringList names;
    for (int r : rows)
        names << m.cell(ArticleModel::Name, r);
    if (!confirmCodePage(names))
        return;
    if (link().refuseWhileBusy())
        return;
    blocks_ = articleBlocks(rows);
    changedTotal_ = int(rows.size());
    view().setCancelButtonVisible(true);
    // One chain over all blocks: the device goes straight on from one block to the next.
    if (!startWrite(blocks_))
        blocks_.clear();
}

void ArticleTransfer::writeAsked(int n)
{
    counters_->aboutToChange();
    articles_.lblBrojac->setText(QString::number(n));
    // The reply acknowledges the record sent before it: that row is written.
    if (unanswered_ != 0)
        articles_.model().clearChanged(unanswered_);
    unanswered_ = 0;
}

void ArticleTransfer::writeStepped(int n, bool stopped)
{
    if (stopped || n < from_ || n > to_)
        counters_->release();
    // A write of changed rows moves the bar over all its rows, a range write over the range.
    const int progress = blocks_.empty() ? progressFor(n, from_, to_)
                                         : 1 + int(int64_t(ops_.articlesDone()) * 15 / std::max(changedTotal_, 1));
    view().setProgress(stopped ? 0 : progress);
    view().setStatusText(UiText(Txt::InServiceMode));
}

bool ArticleTransfer::recordOfRow(int r, ArticleRecord &record, QString &reason)
{
    const ArticleModel &m = articles_.model();
    if (ArticleRecord::fromCells(r, m.cell(ArticleModel::Name, r), m.cell(ArticleModel::Barcode, r),
                                 m.cell(ArticleModel::Department, r), m.cell(ArticleModel::Price, r),
                                 m.cell(ArticleModel::Tax, r), QLocale(), record))
        return true;
    reason = QStringLiteral("Одељење артикла број %1 није цео број („%2“). Упис је прекинут; "
                            "артикли пре њега су уписани.")
                 .arg(r)
                 .arg(m.cell(ArticleModel::Department, r));
    return false;
}

void ArticleTransfer::BtnOtkazClick()
{
    link().BtnOtkazClick();
    counters_->release();
}

void ArticleTransfer::onChainEnded(DeviceLink::Chain chain, DeviceLink::ChainEnd how)
{
    if (chain != Chain::ArticlesRead && chain != Chain::ArticlesWrite)
        return;
    counters_->release();
    view().setProgress(0);
    const bool read = chain == Chain::ArticlesRead;
    const int at = ops_.currentArticle();
    const bool changedRun = !read && !blocks_.empty();
    const int done = ops_.articlesDone();
    if (changedRun) {
        const size_t blocks = blocks_.size();
        blocks_.clear();
        if (how == ChainEnd::Completed) {
            view().showDialog(UiText(Txt::TitleInfo), ToolText::articlesChangedWritten(done, int(blocks)));
            return;
        }
    }
    switch (how) {
    case ChainEnd::Completed:
        view().showDialog(UiText(Txt::TitleInfo),
                          read ? ToolText::articlesReadCompleted(done) : ToolText::articlesWriteCompleted(done));
        break;
    case ChainEnd::Cancelled:
        view().showDialog(UiText(Txt::TitleWarning), read ? ToolText::articlesReadCancelled(at, done)
                                                          : ToolText::articlesWriteCancelled(at, done));
        break;
    case ChainEnd::Stopped:
        // A stop of the chain's own was told already (the row that cannot be sent, the request
        // the link could not write).
        if (!ops_.stoppedItself())
            view().showDialog(UiText(Txt::TitleWarning), ops_.describeEnd(how));
        break;
    case ChainEnd::DeviceError:
    case ChainEnd::NoAnswer:
        // The link's own message already says where the transfer stopped.
    case ChainEnd::ConnectionLost:
    case ChainEnd::Abandoned:
        break;
    }
}
