#include "ArticleTransfer.h"

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

namespace {
constexpr int kArticles = ArticleModel::kArticles;
static_assert(kArticles == ArticleOps::kArticles);
using Chain = DeviceLink::Chain;
using ChainEnd = DeviceLink::ChainEnd;
} // namespace

ArticleTransfer::ArticleTransfer(SectionHost &host, ArticlesSection &articles)
    : Section(host), articles_(articles), ops_(device().articles())
{
    counters_ = new PaintThrottle({articles_.lblBrojac, articles_.lblArt}, 40, this);
    // Labels of a fixed size do not ask their group box to lay out again with every new number.
    for (QLabel *l : {articles_.lblBrojac, articles_.lblArt})
        l->setFixedSize(l->size());
    connect(articles_.btnARead, &QPushButton::clicked, this, &ArticleTransfer::btnAReadClick);
    connect(articles_.btnAWrite, &QPushButton::clicked, this, &ArticleTransfer::btnAWriteClick);
    connect(articles_.BtnOtkaz, &QPushButton::clicked, this, &ArticleTransfer::BtnOtkazClick);
    connect(&link(), &DeviceLink::chainEnded, this, &ArticleTransfer::onChainEnded);
    connect(&ops_, &ArticleOps::articleArrived, this, &ArticleTransfer::showArticle);
    connect(&ops_, &ArticleOps::readStepped, this, &ArticleTransfer::readStepped);
    connect(&ops_, &ArticleOps::writeAsked, this, &ArticleTransfer::writeAsked);
    connect(&ops_, &ArticleOps::recordSent, this, [this](int n) { articles_.lblArt->setText(QString::number(n)); });
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
    view().setCancelButtonVisible(true);
    view().setStatusText(UiText(Txt::PleaseWait));
    ops_.read();
}

void ArticleTransfer::showArticle(const ArticleRecord &record)
{
    const int n = record.number;
    counters_->aboutToChange();
    articles_.lblBrojac->setText(QString::number(n));
    if (n < 1 || n > kArticles)
        return;
    ArticleModel &m = articles_.model();
    m.setCell(ArticleModel::Name, n, record.nameText());
    m.setCell(ArticleModel::Barcode, n, record.barcodeText());
    m.setCell(ArticleModel::Department, n, record.departmentText());
    m.setCell(ArticleModel::Price, n, record.priceText(QLocale()));
    m.setCell(ArticleModel::Tax, n, record.taxText());
    if (n == kArticles) {
        articles_.sgArticles->setCurrentIndex(m.index(0, ArticleModel::Name));
        articles_.loadFormFromRow(1);
    }
}

void ArticleTransfer::readStepped(int next)
{
    articles_.lblArt->setText(QString::number(next - 1));
    view().setProgress(progressFor(next));
    if (next > kArticles)
        counters_->release();
    view().setStatusText(UiText(Txt::InServiceMode));
    link().setControlsEnabled({QStringLiteral("btnAWrite")}, true);
}

void ArticleTransfer::btnAWriteClick()
{
    if (!link().serviceMode())
        return;
    if (!confirmCodePage(articles_.model().columnTexts(ArticleModel::Name)))
        return;
    if (link().refuseWhileBusy())
        return;
    view().setCancelButtonVisible(true);
    beginWrite(1);
    ops_.write([this](int r, ArticleRecord &record, QString &reason) { return recordOfRow(r, record, reason); });
    endWrite();
}

void ArticleTransfer::writeAsked(int n)
{
    counters_->aboutToChange();
    articles_.lblBrojac->setText(QString::number(n));
}

void ArticleTransfer::writeStepped(int n, bool stopped)
{
    if (stopped || n > kArticles)
        counters_->release();
    view().setProgress(stopped ? 0 : progressFor(n));
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
    const int done = ops_.articlesDone();
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
