#include "TizvestajForm.h"

#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>

TizvestajForm::TizvestajForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName("izvestajForm");
    setWindowTitle(QStringLiteral("Izvestaj Artikli"));
}

void TizvestajForm::preview()
{
    QPrinter printer(QPrinter::HighResolution);
    ArticleReportLayout::setUpPrinter(printer);
    QPrintPreviewDialog dialog(&printer, window());
    dialog.setObjectName("izvestajPreview");
    dialog.setWindowTitle(windowTitle());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [this](QPrinter *p) { ArticleReportLayout::paint(*p, records_, heading_); });
    if (previewHook_)
        previewHook_(dialog);
    else
        dialog.exec();
}

bool TizvestajForm::writePdf(const QString &path) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QStringLiteral("Artikli"));
    ArticleReportLayout::setUpPrinter(printer);
    if (ArticleReportLayout::paint(printer, records_, heading_) == 0)
        return false;
    const QFileInfo info(path);
    return info.exists() && info.size() > 0;
}
