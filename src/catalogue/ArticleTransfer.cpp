#include "ArticleTransfer.h"

#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "PaintThrottle.h"
#include "UiText.h"

#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {
constexpr int kRecordPos = 4;                                // first data position of both frames
constexpr int kReadRequestCount = 6;                         // 0x5F, code, length, number (2), CR
constexpr int kWriteRequestCount = ArticleRecord::kSize + 4; // 0x5F, code, length, record, CR
constexpr int kArticles = ArticleModel::kArticles;
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
    link().onReply(kReadCode, [this] { readReply(); });
    link().onReply(kWriteCode, [this] { writeReply(); });
}

int ArticleTransfer::progressFor(int next)
{
    return next > kArticles - 1 ? 0 : next / kArticlesPerStep + 1;
}

void ArticleTransfer::btnAReadClick()
{
    // Whatever a broken-off frame left behind must not swallow the first reply.
    link().clearRx();
    if (refuseOutsideServiceMode())
        return;
    view().setCancelButtonVisible(true);
    link().setCancelFlag(false);
    view().setStatusText(UiText(Txt::PleaseWait));
    link().setTx(kRecordPos, 1);
    link().setTx(kRecordPos + 1, 0);
    link().SendAwaitingReply(kReadCode, kReadRequestCount);
}

void ArticleTransfer::readReply()
{
    const ArticleRecord record = ArticleRecord::decode(link().rxAt(kRecordPos));
    const int n = record.number;
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
        }
        next = n + 1;
        if (next > kArticles) {
            articles_.sgArticles->setCurrentIndex(articles_.model().index(0, ArticleModel::Name));
            articles_.loadFormFromRow(1);
        } else {
            link().setTx(kRecordPos, uint8_t(next));
            link().setTx(kRecordPos + 1, uint8_t(next >> 8));
            link().SendAwaitingReply(kReadCode, kReadRequestCount);
        }
    }
    articles_.lblArt->setText(QString::number(next - 1));
    view().setProgress(progressFor(next));
    if (next > kArticles)
        counters_->release();
    view().setStatusText(UiText(Txt::InServiceMode));
    articles_.btnAWrite->setEnabled(true);
}

void ArticleTransfer::btnAWriteClick()
{
    if (!link().serviceMode())
        return;
    if (!confirmCodePage(articles_.model().columnTexts(ArticleModel::Name)))
        return;
    // As for the read: what a broken-off chain left behind must not swallow the first reply.
    link().clearRx();
    view().setCancelButtonVisible(true);
    link().setCancelFlag(false);
    beginWrite(1);
    link().clearTx();
    if (putRecord(1))
        link().SendFrame(kWriteCode, kWriteRequestCount);
    endWrite();
}

void ArticleTransfer::writeReply()
{
    const int n = link().rx(kRecordPos) | (link().rx(kRecordPos + 1) << 8);
    counters_->aboutToChange();
    articles_.lblBrojac->setText(QString::number(n));
    bool stopped = false;
    if (n <= kArticles) {
        link().clearTx();
        if (putRecord(n)) {
            link().SendAwaitingReply(kWriteCode, kWriteRequestCount);
            articles_.lblArt->setText(QString::number(n));
        } else {
            stopped = true;
        }
    }
    if (stopped || n > kArticles)
        counters_->release();
    view().setProgress(stopped ? 0 : progressFor(n));
    view().setStatusText(UiText(Txt::InServiceMode));
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
