#include "ArticlesReport.h"

#include "ArticleReportRecord.h"
#include "TizvestajForm.h"

#include <QIcon>
#include <QPushButton>
#include <QStyle>

ArticlesReport::ArticlesReport(SectionHost &host, ArticlesSection &articles) : Section(host), articles_(articles)
{
    // The form lives as long as the window and is never shown itself.
    form_ = new TizvestajForm(host.window());

    QPushButton *b = articles_.BitBtn1;
    const QIcon fallback = b->style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    b->setIcon(QIcon::fromTheme(QStringLiteral("document-print"), fallback));
    b->setToolTip(QStringLiteral("Извештај: артикли"));
    connect(b, &QPushButton::clicked, this, &ArticlesReport::BitBtn1Click);
}

void ArticlesReport::fillRecords()
{
    form_->setRecords(ArticleReportRecord::collect(articles_.model()));
}

void ArticlesReport::BitBtn1Click()
{
    fillRecords();
    form_->preview();
}

bool ArticlesReport::renderToPdf(const QString &path)
{
    fillRecords();
    return form_->writePdf(path);
}
