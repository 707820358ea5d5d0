#include "ArticlesReport.h"

#include "ArticleReportRecord.h"
#include "IconOnShow.h"
#include "TizvestajForm.h"

#include <QDateTime>
#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace {
// A printer picture: the desktop theme's, else the one the print support ships for its preview
// window, else the style's list picture (the style has no printer of its own).
QIcon printerIcon(QAbstractButton *button)
{
    QIcon icon = QIcon::fromTheme(QStringLiteral("document-print"));
    const QString shipped = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/printer-24.png");
    if (icon.isNull() && QFile::exists(shipped))
        icon = QIcon(shipped);
    if (icon.isNull())
        icon = button->style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    return icon;
}
} // namespace

ArticlesReport::ArticlesReport(SectionHost &host, ArticlesSection &articles) : Section(host), articles_(articles)
{
    // The form lives as long as the window and is never shown itself.
    form_ = new TizvestajForm(host.window());

    QPushButton *b = articles_.BitBtn1;
    setIconOnFirstShow(b, printerIcon);
    b->setToolTip(QStringLiteral("Извештај: артикли"));
    connect(b, &QPushButton::clicked, this, &ArticlesReport::BitBtn1Click);
}

void ArticlesReport::fillRecords()
{
    form_->setRecords(ArticleReportRecord::collect(articles_.model()));
    // The serial numbers as the fiscal-data group shows them (empty until the printer was read).
    auto serial = [this](const char *name) {
        const auto *edit = host().window()->findChild<QLineEdit *>(QString::fromLatin1(name));
        return edit ? edit->text().trimmed() : QString();
    };
    form_->setHeading({QDateTime::currentDateTime(), serial("edtEKAFP_Ser_No"), serial("edtFP_Ser_No")});
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
